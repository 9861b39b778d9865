# Cross build for 64-bit Windows with clang-14 and lld, against Debian's
# MinGW-w64 headers and libraries: a second compiler over the same sources.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TINTWISE_MINGW_TRIPLET x86_64-w64-mingw32)

set(CMAKE_C_COMPILER clang-14)
set(CMAKE_CXX_COMPILER clang++-14)
set(CMAKE_C_COMPILER_TARGET ${TINTWISE_MINGW_TRIPLET})
set(CMAKE_CXX_COMPILER_TARGET ${TINTWISE_MINGW_TRIPLET})
set(CMAKE_RC_COMPILER ${TINTWISE_MINGW_TRIPLET}-windres)
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

set(CMAKE_FIND_ROOT_PATH /usr/${TINTWISE_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
