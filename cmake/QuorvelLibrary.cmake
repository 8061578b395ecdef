# quorvel_add_library(NAME DIR [EXCLUDE file...] [DEPS target...])
# Builds every .cpp directly in DIR into a static library NAME. While a directory has no
# sources yet the target is an interface library, so dependants link either way.
function(quorvel_add_library name dir)
  cmake_parse_arguments(ARG "" "" "EXCLUDE;DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS "${dir}/*.cpp")
  foreach(excluded IN LISTS ARG_EXCLUDE)
    list(REMOVE_ITEM sources "${dir}/${excluded}")
  endforeach()
  if(sources)
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${ARG_DEPS} PRIVATE quorvel_warnings)
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} INTERFACE ${ARG_DEPS})
  endif()
endfunction()

# quorvel_add_test(AREA SOURCE DEPS target...)
# One GoogleTest executable (AREA_FILE) for one test source, registered with CTest.
function(quorvel_add_test area source)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  get_filename_component(stem "${source}" NAME_WE)
  set(name "${area}_${stem}")
  add_executable(${name} ${source})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gmock GTest::gtest_main quorvel_warnings)
  target_compile_definitions(${name} PRIVATE
    QUORVEL_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    QUORVEL_SHARED_DIR="${PROJECT_SOURCE_DIR}/../shared"
    QUORVEL_BINARY_DIR="${PROJECT_BINARY_DIR}")
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 300)
endfunction()

# quorvel_add_test_suite(AREA DIR DEPS target...)
# One GoogleTest executable per test source, so that a suite builds and runs on its own.
function(quorvel_add_test_suite area dir)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS "${dir}/*.cpp")
  foreach(source IN LISTS sources)
    quorvel_add_test(${area} ${source} DEPS ${ARG_DEPS})
  endforeach()
endfunction()
