# The programs of a Windows build with the posix thread model: a nested build
# with the win32 thread model (cmake/toolchain-mingw.cmake) in programs/,
# configured with this one, puts them into this build's bin/ beside the tests.
# Each target here builds its namesake there: mirtane (mírtáné.exe, the program
# users get), mirtane_faults and mirtane_utf8 (its test builds). They run one
# after another, since the three share the nested build's libraries.
set(FADER_PROGRAMS_DIR ${CMAKE_BINARY_DIR}/programs)
execute_process(
  COMMAND ${CMAKE_COMMAND} -S ${PROJECT_SOURCE_DIR} -B ${FADER_PROGRAMS_DIR} -G ${CMAKE_GENERATOR}
    -DCMAKE_MAKE_PROGRAM=${CMAKE_MAKE_PROGRAM}
    -DCMAKE_TOOLCHAIN_FILE=${PROJECT_SOURCE_DIR}/cmake/toolchain-mingw-${FADER_MINGW_ARCH}.cmake
    -DFADER_MINGW_THREADS=win32
    -DCMAKE_BUILD_TYPE=${CMAKE_BUILD_TYPE}
    -DFADER_PROGRAMS_BIN_DIR=${CMAKE_RUNTIME_OUTPUT_DIRECTORY}
  RESULT_VARIABLE configured
  OUTPUT_VARIABLE configure_log
  ERROR_VARIABLE configure_log)
if(NOT configured EQUAL 0)
  message(FATAL_ERROR "the programs' build in ${FADER_PROGRAMS_DIR} did not configure:\n${configure_log}")
endif()

set(before)
foreach(program mirtane mirtane_faults mirtane_utf8)
  if(CMAKE_GENERATOR MATCHES "Makefiles")
    # $(MAKE) hands the nested make this make's job slots (-j).
    set(build_it $(MAKE) ${program})
  else()
    set(build_it ${CMAKE_COMMAND} --build . --target ${program})
  endif()
  add_custom_target(${program} ALL COMMAND ${build_it} WORKING_DIRECTORY ${FADER_PROGRAMS_DIR}
    COMMENT "Building ${program} with the win32 thread model")
  if(before)
    add_dependencies(${program} ${before})
  endif()
  set(before ${program})
endforeach()
