foreach(subject region tray)
  fader_add_test(desktop_${subject}_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/desktop_${subject}_test.cpp
                 LIBS fader_desktop LABELS desktop)
endforeach()
