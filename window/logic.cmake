# The main window's platform-free flows: compose and send, start-up and exit,
# title-bar dragging.
add_library(fader_window_logic STATIC
  ${CMAKE_CURRENT_LIST_DIR}/compose_flow.cpp
  ${CMAKE_CURRENT_LIST_DIR}/announcements.cpp
  ${CMAKE_CURRENT_LIST_DIR}/title_bar_drag.cpp)
target_include_directories(fader_window_logic PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(fader_window_logic PUBLIC fader_render)
