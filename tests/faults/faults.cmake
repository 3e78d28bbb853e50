# The test build of the program: the same program with the fault module,
# which makes any Windows function it imports, or an allocation, fail on
# demand (fault_hooks_win32.cpp). Only the fault matrix runs it; it is never
# shipped.
add_executable(mirtane_faults WIN32 ${PROJECT_SOURCE_DIR}/window/main_win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/fault_hooks_win32.cpp ${CMAKE_CURRENT_LIST_DIR}/fault_new_win32.cpp
  $<TARGET_OBJECTS:fader_resources>)
target_link_libraries(mirtane_faults PRIVATE fader_window)
target_include_directories(mirtane_faults PRIVATE ${PROJECT_SOURCE_DIR})
set_target_properties(mirtane_faults PROPERTIES OUTPUT_NAME "mirtane-faults")
