fader_add_test(compose_flow_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/compose_flow_test.cpp
  LIBS fader_window_logic LABELS window)
fader_add_test(announcements_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/announcements_test.cpp
  LIBS fader_window_logic LABELS window)
fader_add_test(title_bar_drag_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/title_bar_drag_test.cpp
  LIBS fader_window_logic LABELS window)
