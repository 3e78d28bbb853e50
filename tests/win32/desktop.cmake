fader_add_test(desktop_region_win32_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/desktop_region_win32_test.cpp
               LIBS fader_desktop_win32 LABELS desktop)
fader_add_test(desktop_tray_win32_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/desktop_tray_win32_test.cpp
               LIBS fader_desktop_win32 LABELS desktop)

# They show windows and ask what lies under a point: one at a time with the
# window's tests.
set_tests_properties(desktop_region_win32_test desktop_tray_win32_test PROPERTIES RESOURCE_LOCK fader_screen)
