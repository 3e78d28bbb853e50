fader_add_test(chat_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/chat_test.cpp LIBS fader_chat LABELS chat)
