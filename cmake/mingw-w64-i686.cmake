# Cross build for 32-bit Windows with Debian's MinGW-w64: the exe for 32-bit
# Wine prefixes, where Jw_cad users often run it.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(TINTWISE_MINGW_TRIPLET i686-w64-mingw32)

# The -posix variants: the -win32 ones lack std::thread and friends.
set(CMAKE_C_COMPILER ${TINTWISE_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TINTWISE_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${TINTWISE_MINGW_TRIPLET}-windres)

# Libraries and headers come only from the MinGW sysroot; programs from the host.
set(CMAKE_FIND_ROOT_PATH /usr/${TINTWISE_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
