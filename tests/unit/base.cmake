# The basics below every subsystem: twips arithmetic and code-page flags.
fader_add_test(base_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/base_twips_test.cpp
               ${CMAKE_CURRENT_LIST_DIR}/base_code_page_test.cpp LIBS fader_base LABELS base)
