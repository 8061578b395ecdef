if(QUORVEL_SANITIZE)
  set(QUORVEL_SANITIZER_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  add_compile_options(${QUORVEL_SANITIZER_FLAGS})
  add_link_options(${QUORVEL_SANITIZER_FLAGS})
endif()

if(QUORVEL_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "QUORVEL_FUZZ needs clang (libFuzzer)")
  endif()
  # Instrument everything for coverage; the fuzz targets add the libFuzzer main.
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined)
  add_link_options(-fsanitize=address,undefined)
endif()
