# GoogleTest is built from Debian's sources in both builds, so the host and the
# win32 tests use the same framework, compiled with each build's own flags.
set(FADER_GTEST_SRC /usr/src/googletest CACHE PATH "GoogleTest sources")
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
add_subdirectory(${FADER_GTEST_SRC} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)

# fader_add_test(<name> SOURCES ... LIBS ... [LABELS ...] [CASE_TIMEOUT <seconds>])
# Host build: one CTest test per GoogleTest case, each given CASE_TIMEOUT when
# set, so that a case that may never end fails in time. Win32 build: one CTest
# test per executable, run under Wine (each Wine start costs time, so not per
# case).
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
    set(timeout)
    if(T_CASE_TIMEOUT)
      set(timeout TIMEOUT ${T_CASE_TIMEOUT})
    endif()
    # The time-out goes first: CMake 3.25 hands the properties on as one flat
    # list, so the labels' own list spreads over what follows them.
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES ${timeout} LABELS "host;${T_LABELS}")
  endif()
endfunction()
