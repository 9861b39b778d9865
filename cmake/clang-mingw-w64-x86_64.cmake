# Cross build for 64-bit Windows with clang-14 and lld, against Debian's
# MinGW-w64 headers and libraries: a second compiler over the same sources.
set(TINTWISE_MINGW_TRIPLET x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-target.cmake)

set(CMAKE_C_COMPILER clang-14)
set(CMAKE_CXX_COMPILER clang++-14)
set(CMAKE_C_COMPILER_TARGET ${TINTWISE_MINGW_TRIPLET})
set(CMAKE_CXX_COMPILER_TARGET ${TINTWISE_MINGW_TRIPLET})
# Keeps the host's /usr/include and /usr/lib out of the search paths.
set(CMAKE_SYSROOT /usr/${TINTWISE_MINGW_TRIPLET})

# clang does not recognise Debian's "12-posix" GCC directory, so it finds
# neither libstdc++ nor libgcc: name them. The posix libstdc++ needs
# winpthread.
file(GLOB _tintwise_gcc_dirs LIST_DIRECTORIES true /usr/lib/gcc/${TINTWISE_MINGW_TRIPLET}/*-posix)
list(SORT _tintwise_gcc_dirs COMPARE NATURAL ORDER DESCENDING)
list(GET _tintwise_gcc_dirs 0 _tintwise_gcc)
set(CMAKE_CXX_FLAGS_INIT "-isystem ${_tintwise_gcc}/include/c++ -isystem ${_tintwise_gcc}/include/c++/${TINTWISE_MINGW_TRIPLET} -isystem ${_tintwise_gcc}/include/c++/backward")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-fuse-ld=lld -L${_tintwise_gcc} -lpthread")
