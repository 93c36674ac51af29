# vireon_gtest(TARGET [TEST_PREFIX prefix] [PROPERTIES name value...] [WINDOWS_WRAPPER command...]):
# registers a GoogleTest program with ctest, one test per case (gtest_discover_tests). For
# Windows, where every start of a program under Wine costs up to a second, the program is one
# test instead, with room for all its cases in its time limit, started through the wrapper
# command when one is given (which then starts the emulator and the program after it).
include(GoogleTest)
function(vireon_gtest target)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "TEST_PREFIX" "PROPERTIES;WINDOWS_WRAPPER")
  if(NOT WIN32)
    set(args)
    if(DEFINED arg_TEST_PREFIX)
      list(APPEND args TEST_PREFIX ${arg_TEST_PREFIX})
    endif()
    if(arg_PROPERTIES)
      list(APPEND args PROPERTIES ${arg_PROPERTIES})
    endif()
    gtest_discover_tests(${target} ${args})
    return()
  endif()
  set(name ${arg_TEST_PREFIX}${target})
  if(arg_WINDOWS_WRAPPER)
    add_test(NAME ${name} COMMAND ${arg_WINDOWS_WRAPPER} ${CMAKE_CROSSCOMPILING_EMULATOR}
                                  $<TARGET_FILE:${target}> --gtest_brief=1)
  else()
    add_test(NAME ${name} COMMAND ${target} --gtest_brief=1)
  endif()
  set_tests_properties(${name} PROPERTIES ${arg_PROPERTIES} TIMEOUT 600)
endfunction()
