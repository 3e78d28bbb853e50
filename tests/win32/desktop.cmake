fader_add_test(desktop_region_win32_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/desktop_region_win32_test.cpp
               LIBS fader_desktop_win32 LABELS desktop)
fader_add_test(desktop_tray_win32_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/desktop_tray_win32_test.cpp
               LIBS fader_desktop_win32 LABELS desktop)

