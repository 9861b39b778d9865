# Debian's MinGW-w64 g++ for TINTWISE_MINGW_TRIPLET.
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-target.cmake)

# The -posix variants: the -win32 ones lack std::thread and friends.
set(CMAKE_C_COMPILER ${TINTWISE_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TINTWISE_MINGW_TRIPLET}-g++-posix)
