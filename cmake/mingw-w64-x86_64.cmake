# Cross build for 64-bit Windows with Debian's MinGW-w64.
set(TINTWISE_MINGW_TRIPLET x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-gcc.cmake)
