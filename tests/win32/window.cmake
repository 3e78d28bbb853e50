# frmFade under Wine: the real window, created in the test's own process with
# the program's resources linked in, and the built program's file for its
# version information and icon.
fader_add_test(window_win32_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/window_win32_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/window_controls_win32_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/window_resources_win32_test.cpp
          $<TARGET_OBJECTS:fader_resources>
  LIBS fader_window version fader_version LABELS window)
add_dependencies(window_win32_test mirtane)
# Tests that show windows, take the focus or ask what lies under a point share
# the screen: one at a time.
set_tests_properties(window_win32_test PROPERTIES RESOURCE_LOCK fader_screen)

# frmFade's outline, topmost and tray round trip. Its load handler posts the
# start announcement, so it keeps away from tests that open a chat room.
fader_add_test(window_desktop_win32_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/window_desktop_win32_test.cpp
          $<TARGET_OBJECTS:fader_resources>
  LIBS fader_window LABELS window)
set_tests_properties(window_desktop_win32_test PROPERTIES RESOURCE_LOCK "fader_chat_room;fader_screen")
