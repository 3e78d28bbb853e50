# Cross build for Windows with MinGW-w64 for the processor in FADER_MINGW_ARCH
# (i686 or x86_64), which the toolchain file including this one sets first.
# Posix threads: GoogleTest needs std::mutex.
if(NOT FADER_MINGW_ARCH)
  message(FATAL_ERROR "set FADER_MINGW_ARCH before including toolchain-mingw.cmake")
endif()
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${FADER_MINGW_ARCH})
set(CMAKE_C_COMPILER ${FADER_MINGW_ARCH}-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER ${FADER_MINGW_ARCH}-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER ${FADER_MINGW_ARCH}-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${FADER_MINGW_ARCH}-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Tests of the Windows build run under Wine, in the build tree's private prefix.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run.sh)
