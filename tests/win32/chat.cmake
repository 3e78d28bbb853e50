# The chat bridge on real windows under Wine, in this process and across
# processes with the stand-in room. Tests that open a window of class
# "AOL Frame25" (this one, and any that start chatroom.exe) take the lock
# fader_chat_room, so that no two of them see each other's client; its
# rooms show on the screen, so it takes fader_screen too (a room over the
# form would answer another test's WindowFromPoint).
fader_add_test(chat_win32_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/chat_win32_test.cpp
               LIBS fader_chat_win32 fader_render LABELS chat)
add_dependencies(chat_win32_test chatroom)
set_tests_properties(chat_win32_test PROPERTIES RESOURCE_LOCK "fader_chat_room;fader_screen")
