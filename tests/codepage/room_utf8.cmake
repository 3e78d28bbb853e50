# The stand-in room as it runs on a system whose ANSI code page is UTF-8 (its
# manifest asks for it), the peer of the program's UTF-8 build. Test build
# only, never shipped.
get_target_property(room_sources chatroom SOURCES)
list(TRANSFORM room_sources PREPEND ${PROJECT_SOURCE_DIR}/tools/chatroom/)
add_executable(chatroom_utf8 WIN32 ${room_sources} ${CMAKE_CURRENT_LIST_DIR}/room_utf8.rc)
target_link_libraries(chatroom_utf8 PRIVATE fader_chatroom user32 gdi32 shell32)
target_include_directories(chatroom_utf8 PRIVATE ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_LIST_DIR})
set_target_properties(chatroom_utf8 PROPERTIES OUTPUT_NAME "chatroom-utf8")
