# Release zips: Tintwise.exe, README.md, LICENSE and the Wine launcher, at the
# zip's root, named Tintwise-<version>-win64.zip or -win32.zip after the build.
#
# With TINTWISE_PACKAGE_WIN32 a 64-bit tree also builds the 32-bit exe from
# the same sources in its win32/ folder, and one cpack run makes both zips
# (the `release` workflow preset).
include_guard(GLOBAL)

# The launcher runs the exe beside it: put it beside the built one too.
configure_file(${PROJECT_SOURCE_DIR}/dist/tintwise-wine.sh ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/tintwise-wine.sh @ONLY)

if(NOT TARGET Tintwise)
  return()
endif()

if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(TINTWISE_PACKAGE_ARCH win64)
else()
  set(TINTWISE_PACKAGE_ARCH win32)
endif()

install(TARGETS Tintwise RUNTIME DESTINATION . COMPONENT ${TINTWISE_PACKAGE_ARCH})
install(FILES README.md LICENSE DESTINATION . COMPONENT ${TINTWISE_PACKAGE_ARCH})
install(PROGRAMS ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/tintwise-wine.sh DESTINATION . COMPONENT ${TINTWISE_PACKAGE_ARCH})

set(CPACK_PACKAGE_NAME ${PROJECT_NAME})
set(CPACK_PACKAGE_VENDOR "Tintwise developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY ${PROJECT_DESCRIPTION})
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_GENERATOR ZIP)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_PACKAGE_CHECKSUM SHA256)
# include(CPack) leaves CPACK_PACKAGE_FILE_NAME set to the source package's name.
set(TINTWISE_PACKAGE_FILE_NAME ${PROJECT_NAME}-${PROJECT_VERSION}-${TINTWISE_PACKAGE_ARCH})
set(CPACK_PACKAGE_FILE_NAME ${TINTWISE_PACKAGE_FILE_NAME})

option(TINTWISE_PACKAGE_WIN32 "Also build the 32-bit exe (in win32/) and package it beside this one" OFF)
if(TINTWISE_PACKAGE_WIN32)
  if(NOT TINTWISE_PACKAGE_ARCH STREQUAL win64)
    message(FATAL_ERROR "TINTWISE_PACKAGE_WIN32 needs a 64-bit build")
  endif()
  include(ExternalProject)
  ExternalProject_Add(tintwise_x86
    SOURCE_DIR ${PROJECT_SOURCE_DIR}
    BINARY_DIR ${CMAKE_BINARY_DIR}/win32
    CMAKE_ARGS
      -DCMAKE_TOOLCHAIN_FILE=${PROJECT_SOURCE_DIR}/cmake/mingw-w64-i686.cmake
      -DCMAKE_BUILD_TYPE=${CMAKE_BUILD_TYPE}
      -DTINTWISE_TESTS=OFF
    INSTALL_COMMAND ""
    # Its own build decides what is out of date.
    BUILD_ALWAYS ON)
  # One zip for each build tree, each from its own component. CPack reads
  # each project's components from CPACK_COMPONENTS_<its third field>.
  set(CPACK_INSTALL_CMAKE_PROJECTS
    "${CMAKE_BINARY_DIR};${PROJECT_NAME};win64;/"
    "${CMAKE_BINARY_DIR}/win32;${PROJECT_NAME};win32;/")
  set(CPACK_COMPONENTS_WIN64 win64)
  set(CPACK_COMPONENTS_WIN32 win32)
  set(CPACK_COMPONENTS_ALL win64 win32)
  set(CPACK_ARCHIVE_COMPONENT_INSTALL ON)
  set(CPACK_ARCHIVE_WIN64_FILE_NAME ${PROJECT_NAME}-${PROJECT_VERSION}-win64)
  set(CPACK_ARCHIVE_WIN32_FILE_NAME ${PROJECT_NAME}-${PROJECT_VERSION}-win32)
endif()

include(CPack)
