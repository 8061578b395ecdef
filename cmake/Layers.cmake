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

# The layer table: each folder's target and the folders of the layers it builds on.
file(STRINGS "${PROJECT_SOURCE_DIR}/cmake/Layers.txt" layer_rows REGEX "^[^#]")
foreach(row IN LISTS layer_rows)
  string(REGEX REPLACE "[ \t]+" ";" row "${row}")
  list(POP_FRONT row dir target)
  set(QUORVEL_LAYER_TARGET_${dir} ${target})
  set(QUORVEL_LAYER_BELOW_${dir} ${row})
endforeach()

# link_layers(TARGET DIR): TARGET, the layer of DIR in the table, links the layers below it
# and publishes DIR's headers.
function(link_layers target dir)
  if(NOT QUORVEL_LAYER_TARGET_${dir} STREQUAL target)
    message(FATAL_ERROR "cmake/Layers.txt names no layer ${target} in ${dir}")
  endif()
  get_target_property(type ${target} TYPE)
  set(scope PUBLIC)
  if(type STREQUAL "INTERFACE_LIBRARY")
    set(scope INTERFACE)
  endif()
  foreach(below IN LISTS QUORVEL_LAYER_BELOW_${dir})
    target_link_libraries(${target} ${scope} ${QUORVEL_LAYER_TARGET_${below}})
  endforeach()
  publish_layer_headers(${target} ${dir})
endfunction()

# add_layer_library(NAME DIR [EXCLUDE file...] [LIBS library...])
# Builds every .cpp directly in DIR (relative to the source root) into a static library NAME,
# the layer of DIR in cmake/Layers.txt, linked to the layers below it and to LIBS (libraries
# from outside the tree). While a directory has no sources yet the target is an interface
# library, so dependants link either way.
function(add_layer_library name dir)
  cmake_parse_arguments(ARG "" "" "EXCLUDE;LIBS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS "${PROJECT_SOURCE_DIR}/${dir}/*.cpp")
  foreach(excluded IN LISTS ARG_EXCLUDE)
    list(REMOVE_ITEM sources "${PROJECT_SOURCE_DIR}/${dir}/${excluded}")
  endforeach()
  if(sources)
    add_library(${name} STATIC ${sources})
    target_link_libraries(${name} PUBLIC ${ARG_LIBS} PRIVATE project_warnings)
  else()
    add_library(${name} INTERFACE)
    target_link_libraries(${name} INTERFACE ${ARG_LIBS})
  endif()
  link_layers(${name} ${dir})
endfunction()
