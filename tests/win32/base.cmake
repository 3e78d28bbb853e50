# The basics at the Win32 boundary: code-page conversion and GDI handle owners.
fader_add_test(base_win32_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/base_win32_test.cpp
               LIBS fader_base_win32 LABELS base)
