# The fuzz targets run under AddressSanitizer and UndefinedBehaviorSanitizer too, so one build
# can hold them beside the tests.
if(QUORVEL_SANITIZE OR QUORVEL_FUZZ)
  set(QUORVEL_SANITIZER_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  add_compile_options(${QUORVEL_SANITIZER_FLAGS})
  add_link_options(${QUORVEL_SANITIZER_FLAGS})
endif()

if(QUORVEL_TSAN)
  if(QUORVEL_SANITIZE OR QUORVEL_FUZZ)
    message(FATAL_ERROR "QUORVEL_TSAN cannot be combined with QUORVEL_SANITIZE or QUORVEL_FUZZ")
  endif()
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
endif()

if(QUORVEL_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "QUORVEL_FUZZ needs clang (libFuzzer)")
  endif()
  # Instrument everything for coverage; the fuzz targets add the libFuzzer main.
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()

# Clang links a sanitizer's runtime into programs only: a module leaves its symbols to the
# program that loads it.
if((QUORVEL_SANITIZE OR QUORVEL_FUZZ OR QUORVEL_TSAN) AND CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  set(QUORVEL_MODULE_RUNTIME_FROM_HOST ON)
endif()
