fader_add_test(fade_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/fade_test.cpp LIBS fader_render LABELS render)
