# publish_layer_headers(TARGET DIR [PRIVATE])
# Lets TARGET and everything linking it include the headers of DIR (relative to the source
# root) as "DIR/Header.h", and nothing else of the tree: a layer sees only the headers of the
# layers it links. Each target gets an include root of its own holding a link to DIR.
function(publish_layer_headers target dir)
  set(scope PUBLIC)
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "INTERFACE_LIBRARY")
    set(scope INTERFACE)
  endif()
  set(root "${PROJECT_BINARY_DIR}/layers/${target}")
  get_filename_component(parent "${root}/${dir}" DIRECTORY)
  file(MAKE_DIRECTORY "${parent}")
  if(NOT IS_SYMLINK "${root}/${dir}")
    file(CREATE_LINK "${PROJECT_SOURCE_DIR}/${dir}" "${root}/${dir}" SYMBOLIC)
  endif()
  target_include_directories(${target} ${scope} "${root}")
endfunction()

# add_layer_library(NAME DIR [EXCLUDE file...] [DEPS target...])
# Builds every .cpp directly in DIR (relative to the source root) into a static library NAME
# that publishes DIR's headers. While a directory has no sources yet the target is an
# interface library, so dependants link either way.
function(add_layer_library name dir)
  cmake_parse_arguments(ARG "" "" "EXCLUDE;DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS "${PROJECT_SOURCE_DIR}/${dir}/*.cpp")
  foreach(excluded IN LISTS ARG_EXCLUDE)
    list(REMOVE_ITEM sources "${PROJECT_SOURCE_DIR}/${dir}/${excluded}")
  endforeach()
  if(sources)
    add_library(${name} STATIC ${sources})
    target_link_libraries(${name} PUBLIC ${ARG_DEPS} PRIVATE project_warnings)
  else()
    add_library(${name} INTERFACE)
    target_link_libraries(${name} INTERFACE ${ARG_DEPS})
  endif()
  publish_layer_headers(${name} ${dir})
endfunction()

# add_unit_test(AREA SOURCE [LAUNCHER program [args...]] DEPS target...)
# One GoogleTest executable (AREA_FILE) for one test source, registered with CTest. A launcher
# runs the test executable (for example inside a virtual X server).
function(add_unit_test area source)
  cmake_parse_arguments(ARG "" "" "LAUNCHER;DEPS" ${ARGN})
  get_filename_component(stem "${source}" NAME_WE)
  set(name "${area}_${stem}")
  add_executable(${name} ${source})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gmock GTest::gtest_main project_warnings)
  # Test helpers are included as "tests/...".
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  target_compile_definitions(${name} PRIVATE
    TEST_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    PROJECT_VERSION_TEXT="${PROJECT_VERSION}")
  if(ARG_LAUNCHER)
    set_target_properties(${name} PROPERTIES CROSSCOMPILING_EMULATOR "${ARG_LAUNCHER}")
  endif()
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 300)
endfunction()

# add_test_suite(AREA DIR [LAUNCHER program [args...]] DEPS target...)
# One GoogleTest executable per test source, so that a suite builds and runs on its own.
function(add_test_suite area dir)
  cmake_parse_arguments(ARG "" "" "LAUNCHER;DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS "${dir}/*.cpp")
  foreach(source IN LISTS sources)
    add_unit_test(${area} ${source} LAUNCHER "${ARG_LAUNCHER}" DEPS ${ARG_DEPS})
  endforeach()
endfunction()
