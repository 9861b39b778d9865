# Tests of Windows programs: run directly on a Windows host, under Wine when
# cross-compiled elsewhere. Include it in every build; the Wine fixture is only
# created when it is needed.
#
#   tintwise_add_wine_test(NAME <test> TARGET <exe target> [GUI]
#                          [ENVIRONMENT k=v ...] [ARGS ...])
#
# Tests run with LANG=C.UTF-8 unless ENVIRONMENT sets LANG. GUI marks a test
# that shows windows: such tests never run at the same time (ctest -j), since
# they share one display, and carry the label "gui".
include_guard(GLOBAL)

if(CMAKE_CROSSCOMPILING AND NOT CMAKE_HOST_WIN32)
  # One prefix, display and wineserver for the whole run: a server per test
  # costs seconds each.
  cmake_path(SET _fixture NORMALIZE "${CMAKE_CURRENT_LIST_DIR}/../tests/wine/fixture.sh")
  add_test(NAME wine.setup COMMAND "${_fixture}" setup "${CMAKE_BINARY_DIR}/wine")
  add_test(NAME wine.cleanup COMMAND "${_fixture}" cleanup "${CMAKE_BINARY_DIR}/wine")
  unset(_fixture)
  # The first setup on a machine also builds the prefix template.
  set_tests_properties(wine.setup PROPERTIES FIXTURES_SETUP wine TIMEOUT 400 LABELS wine)
  set_tests_properties(wine.cleanup PROPERTIES FIXTURES_CLEANUP wine TIMEOUT 60 LABELS wine)
endif()

function(tintwise_add_wine_test)
  cmake_parse_arguments(PARSE_ARGV 0 arg "GUI" "NAME;TARGET" "ENVIRONMENT;ARGS")
  if(NOT arg_NAME OR NOT arg_TARGET OR arg_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "tintwise_add_wine_test(NAME <test> TARGET <exe> [GUI] "
                        "[ENVIRONMENT k=v ...] [ARGS ...]): got ${ARGV}")
  endif()

  set(labels win32)
  if(CMAKE_CROSSCOMPILING AND NOT CMAKE_HOST_WIN32)
    cmake_path(SET run NORMALIZE "${CMAKE_CURRENT_FUNCTION_LIST_DIR}/../tests/wine/run.sh")
    add_test(NAME ${arg_NAME}
             COMMAND "${run}" "${CMAKE_BINARY_DIR}/wine" "$<TARGET_FILE:${arg_TARGET}>" ${arg_ARGS})
    set_tests_properties(${arg_NAME} PROPERTIES FIXTURES_REQUIRED wine)
    list(APPEND labels wine)
  else()
    add_test(NAME ${arg_NAME} COMMAND ${arg_TARGET} ${arg_ARGS})
  endif()
  if(arg_GUI)
    list(APPEND labels gui)
    set_tests_properties(${arg_NAME} PROPERTIES RESOURCE_LOCK display)
  endif()
  # Longer than run.sh's own limit, so a hung program is reported by run.sh.
  set_tests_properties(${arg_NAME} PROPERTIES TIMEOUT 120 LABELS "${labels}")
  # Results must not depend on the locale of whoever runs ctest.
  if(NOT arg_ENVIRONMENT MATCHES "(^|;)LANG=")
    list(PREPEND arg_ENVIRONMENT LANG=C.UTF-8)
  endif()
  set_tests_properties(${arg_NAME} PROPERTIES ENVIRONMENT "${arg_ENVIRONMENT}")
endfunction()
