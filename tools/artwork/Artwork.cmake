# The editor artwork: quorvel-artwork renders every film strip at 1x and 2x at build time.
# Included by resources/CMakeLists.txt, which embeds QUORVEL_ARTWORK_FILES once the target
# quorvel_artwork has produced them. (This folder has no CMakeLists.txt of its own, so the
# tools folder does not add it a second time.)
set(QUORVEL_ARTWORK_GENERATOR "" CACHE FILEPATH
  "quorvel-artwork of another native build, to run instead of building one")
if(QUORVEL_ARTWORK_GENERATOR)
  # Another build's generator: the same source makes the same pictures, and a sanitizer or
  # cross build is spared building and running its own.
  set(artwork_generator "${QUORVEL_ARTWORK_GENERATOR}")
  set(artwork_generator_target "${QUORVEL_ARTWORK_GENERATOR}")
elseif(CMAKE_CROSSCOMPILING)
  # The generator must run on the build machine: one from a native build of this source tree
  # that builds nothing else.
  include(ExternalProject)
  set(native_dir "${PROJECT_BINARY_DIR}/native-generator")
  ExternalProject_Add(native_artwork_generator
    SOURCE_DIR "${PROJECT_SOURCE_DIR}"
    BINARY_DIR "${native_dir}"
    CMAKE_ARGS -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUORVEL_TESTS=OFF
               -DQUORVEL_BENCHMARKS=OFF "-DQUORVEL_SYSTEM_FONT=${QUORVEL_SYSTEM_FONT}"
    BUILD_COMMAND ${CMAKE_COMMAND} --build "${native_dir}" --target quorvel-artwork
    BUILD_BYPRODUCTS "${native_dir}/resources/quorvel-artwork"
    INSTALL_COMMAND "")
  set(artwork_generator "${native_dir}/resources/quorvel-artwork")
  set(artwork_generator_target native_artwork_generator)
else()
  file(GLOB artwork_sources CONFIGURE_DEPENDS "${CMAKE_CURRENT_LIST_DIR}/*.cpp")
  add_executable(quorvel-artwork ${artwork_sources})
  publish_layer_headers(quorvel-artwork tools/artwork)
  target_link_libraries(quorvel-artwork PRIVATE PkgConfig::CAIRO PkgConfig::FREETYPE
    project_warnings)
  set(artwork_generator quorvel-artwork)
  set(artwork_generator_target quorvel-artwork)
endif()

set(artwork_names
  bg glow_r glow_y glow_g knob-cap-stack tiny-knob-stack big-knob-stack env-slider
  mod-switch-L mod-switch-R filter-shape-sw phaser-stereo-sw chorus-stereo-sw
  VU-stack-outer VU-stack-inner toggle-v toggle-h trim-stack lfo-stack motor-button-stack
  sidechain-toggle sync-toggle)
set(artwork_dir "${CMAKE_CURRENT_BINARY_DIR}/artwork")
set(QUORVEL_ARTWORK_FILES "")
foreach(name IN LISTS artwork_names)
  list(APPEND QUORVEL_ARTWORK_FILES "${artwork_dir}/${name}.png" "${artwork_dir}/${name}@2x.png")
endforeach()

add_custom_command(OUTPUT ${QUORVEL_ARTWORK_FILES}
  COMMAND ${CMAKE_COMMAND} -E make_directory "${artwork_dir}"
  COMMAND ${artwork_generator} --font "${QUORVEL_SYSTEM_FONT}" --out "${artwork_dir}"
  DEPENDS ${artwork_generator_target} "${QUORVEL_SYSTEM_FONT}"
  COMMENT "Rendering the editor artwork"
  VERBATIM)
add_custom_target(quorvel_artwork DEPENDS ${QUORVEL_ARTWORK_FILES})

# On demand: the whole editor composed from freshly rendered images, at rest and lit, 1x and 2x.
add_custom_target(quorvel-artwork-preview
  COMMAND ${CMAKE_COMMAND} -E make_directory "${CMAKE_CURRENT_BINARY_DIR}/artwork-preview"
  COMMAND ${artwork_generator} --font "${QUORVEL_SYSTEM_FONT}"
          --out "${CMAKE_CURRENT_BINARY_DIR}/artwork-preview" --preview
  COMMENT "Composing editor previews in ${CMAKE_CURRENT_BINARY_DIR}/artwork-preview"
  VERBATIM)
if(TARGET native_artwork_generator)
  add_dependencies(quorvel-artwork-preview native_artwork_generator)
endif()
