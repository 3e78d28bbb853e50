# Cross build for Windows with MinGW-w64 for the processor in FADER_MINGW_ARCH
# (i686 or x86_64), which the toolchain file including this one sets first.
#
# FADER_MINGW_THREADS picks the compilers' thread model (Debian installs both
# with the same packages):
#   posix  the tests, the tools and the benchmarks: GoogleTest and the tests'
#          own threads need std::thread and std::mutex, which GCC 12's win32
#          model lacks. Its run-time (winpthreads) imports GetTickCount64,
#          which Windows XP does not export.
#   win32  the program users get and its test builds: no winpthreads, so
#          nothing newer than Windows XP is imported.
# A posix build makes the programs in a nested win32 build of its own
# (cmake/programs.cmake); scripts/release.sh ships the program from there.
if(NOT FADER_MINGW_ARCH)
  message(FATAL_ERROR "set FADER_MINGW_ARCH before including toolchain-mingw.cmake")
endif()
if(NOT FADER_MINGW_THREADS)
  set(FADER_MINGW_THREADS posix)
endif()
if(NOT FADER_MINGW_THREADS MATCHES "^(posix|win32)$")
  message(FATAL_ERROR "FADER_MINGW_THREADS is posix or win32, not '${FADER_MINGW_THREADS}'")
endif()
# try_compile's projects read this file again: they must pick the same compilers.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES FADER_MINGW_ARCH FADER_MINGW_THREADS)
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${FADER_MINGW_ARCH})
set(CMAKE_C_COMPILER ${FADER_MINGW_ARCH}-w64-mingw32-gcc-${FADER_MINGW_THREADS})
set(CMAKE_CXX_COMPILER ${FADER_MINGW_ARCH}-w64-mingw32-g++-${FADER_MINGW_THREADS})
set(CMAKE_RC_COMPILER ${FADER_MINGW_ARCH}-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${FADER_MINGW_ARCH}-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Tests of the Windows build run under Wine, in the build tree's private prefix.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run.sh)
