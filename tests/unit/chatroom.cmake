fader_add_test(chatroom_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/chatroom_test.cpp LIBS fader_chatroom LABELS chat
               CASE_TIMEOUT 20)  # the markup reader's loops must end
