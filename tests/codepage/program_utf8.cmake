# The program as it runs on a system whose ANSI code page is UTF-8 (its
# manifest asks for it): the end-to-end tests check that a line goes out
# there as its UTF-8 bytes. A test build, never shipped; built as the
# program is (the programs' build).
add_executable(mirtane_utf8 WIN32 ${PROJECT_SOURCE_DIR}/window/main_win32.cpp ${CMAKE_CURRENT_LIST_DIR}/program_utf8.rc)
target_link_libraries(mirtane_utf8 PRIVATE fader_window)
target_include_directories(mirtane_utf8 PRIVATE ${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/resources
  ${CMAKE_CURRENT_LIST_DIR})
set_target_properties(mirtane_utf8 PROPERTIES OUTPUT_NAME "mirtane-utf8")
