fader_add_test(desktop_region_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/desktop_region_test.cpp
               LIBS fader_desktop LABELS desktop)
fader_add_test(desktop_tray_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/desktop_tray_test.cpp
               LIBS fader_desktop LABELS desktop)
fader_add_test(desktop_twips_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/desktop_twips_test.cpp
               LIBS fader_desktop LABELS desktop)
