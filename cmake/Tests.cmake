# add_test_program(NAME SOURCES source... [LAUNCHER program [args...]]
#                  [PROPERTIES name value...] DEPS target...)
# One GoogleTest executable; CTest runs each of its tests in a process of its own. Natively the
# program lists its tests once it is built. A program that runs through a launcher (a virtual X
# server, Wine) is not started to list them, so that no build step waits on a slow start-up:
# its sources name them. PROPERTIES are set on every test.
function(add_test_program name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LAUNCHER;PROPERTIES;DEPS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gmock GTest::gtest_main
    project_warnings)
  # Test helpers are included as "tests/...".
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  target_compile_definitions(${name} PRIVATE
    TEST_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    PROJECT_VERSION_TEXT="${PROJECT_VERSION}")
  # The test framework's headers weigh more than most test sources.
  target_precompile_headers(${name} PRIVATE <gmock/gmock.h> <gtest/gtest.h>)
  # The code under test keeps its optimisation; the tests' own code, mostly assertions, costs
  # more to optimise than it would ever save.
  target_compile_options(${name} PRIVATE -O0)
  if(ARG_LAUNCHER)
    set_target_properties(${name} PROPERTIES CROSSCOMPILING_EMULATOR "${ARG_LAUNCHER}")
  endif()
  if(ARG_LAUNCHER OR CMAKE_CROSSCOMPILING)
    gtest_add_tests(TARGET ${name} SOURCES ${ARG_SOURCES} TEST_LIST tests)
    # A test the preprocessor left out of the program would otherwise pass without running.
    set_tests_properties(${tests} PROPERTIES TIMEOUT 300
      FAIL_REGULAR_EXPRESSION "\\] 0 tests from 0 test suites ran" ${ARG_PROPERTIES})
  else()
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 180 PROPERTIES TIMEOUT 300 ${ARG_PROPERTIES})
  endif()
endfunction()

# add_unit_test(AREA SOURCE [LAUNCHER program [args...]] [PROPERTIES ...] DEPS target...)
# The test program AREA_FILE of one test source.
function(add_unit_test area source)
  get_filename_component(stem "${source}" NAME_WE)
  add_test_program(${area}_${stem} SOURCES ${source} ${ARGN})
endfunction()

# add_test_suite(AREA DIR [EXCLUDE file...] [LAUNCHER program [args...]] [PROPERTIES ...]
#                DEPS target...)
# The test program AREA_tests of every test source in DIR but those excluded.
function(add_test_suite area dir)
  cmake_parse_arguments(ARG "" "" "EXCLUDE" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS "${dir}/*.cpp")
  foreach(excluded IN LISTS ARG_EXCLUDE)
    list(REMOVE_ITEM sources "${dir}/${excluded}")
  endforeach()
  add_test_program(${area}_tests SOURCES ${sources} ${ARG_UNPARSED_ARGUMENTS})
endfunction()
