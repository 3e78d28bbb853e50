fader_add_test(desktop_region_win32_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/desktop_region_win32_test.cpp
               LIBS fader_desktop_win32 LABELS desktop)
fader_add_test(desktop_tray_win32_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/desktop_tray_win32_test.cpp
               LIBS fader_desktop_win32 LABELS desktop)

# Not a test: times MakeRegion on a 250 x 250 skin-like picture under Wine and
# prints the figures (timings are never asserted).
add_executable(desktop_region_timing ${CMAKE_CURRENT_LIST_DIR}/desktop_region_timing.cpp)
target_link_libraries(desktop_region_timing PRIVATE fader_desktop_win32)
target_include_directories(desktop_region_timing PRIVATE ${PROJECT_SOURCE_DIR})
