# Cross build for 32-bit Windows with MinGW-w64.
set(FADER_MINGW_ARCH i686)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw.cmake)
