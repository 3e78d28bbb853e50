# The program and the stand-in room as they run on a system whose ANSI code
# page is UTF-8 (their manifests ask for it): the end-to-end tests check that
# a line goes out there as its UTF-8 bytes. Test builds only, never shipped.
add_executable(mirtane_utf8 WIN32 ${PROJECT_SOURCE_DIR}/window/main.cpp ${CMAKE_CURRENT_LIST_DIR}/program_utf8.rc)
target_link_libraries(mirtane_utf8 PRIVATE fader_window)
target_include_directories(mirtane_utf8 PRIVATE ${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/resources
  ${CMAKE_CURRENT_LIST_DIR})
set_target_properties(mirtane_utf8 PROPERTIES OUTPUT_NAME "mirtane-utf8")

get_target_property(room_sources chatroom SOURCES)
list(TRANSFORM room_sources PREPEND ${PROJECT_SOURCE_DIR}/tools/chatroom/)
add_executable(chatroom_utf8 WIN32 ${room_sources} ${CMAKE_CURRENT_LIST_DIR}/room_utf8.rc)
target_link_libraries(chatroom_utf8 PRIVATE fader_chatroom user32 gdi32 shell32)
target_include_directories(chatroom_utf8 PRIVATE ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_LIST_DIR})
set_target_properties(chatroom_utf8 PROPERTIES OUTPUT_NAME "chatroom-utf8")
