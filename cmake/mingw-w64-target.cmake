# What every MinGW-w64 cross build shares; the toolchain files set
# TINTWISE_MINGW_TRIPLET and include this before naming their compilers.
set(CMAKE_SYSTEM_NAME Windows)
string(REGEX MATCH "^[^-]+" CMAKE_SYSTEM_PROCESSOR ${TINTWISE_MINGW_TRIPLET})
set(CMAKE_RC_COMPILER ${TINTWISE_MINGW_TRIPLET}-windres)

# Libraries and headers come only from the MinGW sysroot; programs from the host.
set(CMAKE_FIND_ROOT_PATH /usr/${TINTWISE_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
