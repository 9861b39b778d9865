# Cross build for 32-bit Windows with Debian's MinGW-w64: the exe for 32-bit
# Wine prefixes, where Jw_cad users often run it.
set(TINTWISE_MINGW_TRIPLET i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-gcc.cmake)
