# GoogleTest is built from Debian's sources in both builds, so the host and the
# win32 tests use the same framework, compiled with each build's own flags.
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
add_subdirectory(${FADER_GTEST_SRC} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)

# fader_add_test(<name> SOURCES ... LIBS ... [LABELS ...] [CASE_TIMEOUT <seconds>])
# Host build: one CTest test per GoogleTest case, labelled "host" and LABELS,
# each with a time-out (CASE_TIMEOUT, else FADER_CASE_TIMEOUT), so that a case
# that never ends fails in time. Win32 build: one CTest test per executable,
# run under Wine (each Wine start costs time, so not per case).
set(FADER_CASE_TIMEOUT 60 CACHE STRING "Seconds a host test case may take")
function(fader_add_test name)
  cmake_parse_arguments(T "" "CASE_TIMEOUT" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} gmock gtest_main)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  if(FADER_WIN32)
    add_test(NAME ${name} COMMAND ${name} --gtest_color=no)
    set_tests_properties(${name} PROPERTIES TIMEOUT 300 LABELS "win32;${T_LABELS}")
  else()
    include(GoogleTest)
    if(NOT T_CASE_TIMEOUT)
      set(T_CASE_TIMEOUT ${FADER_CASE_TIMEOUT})
    endif()
    # CMake 3.25 hands gtest_discover_tests' PROPERTIES on as one flat list,
    # which a list of labels cannot survive: the cases are labelled by a
    # script CTest reads after the one that adds them, from their list.
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 TEST_LIST ${name}_cases)
    set(properties ${CMAKE_CURRENT_BINARY_DIR}/${name}_properties.cmake)
    file(WRITE ${properties} "if(${name}_cases)\n  set_tests_properties(\${${name}_cases} PROPERTIES "
                             "TIMEOUT ${T_CASE_TIMEOUT} LABELS \"host;${T_LABELS}\")\nendif()\n")
    set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${properties})
  endif()
endfunction()
