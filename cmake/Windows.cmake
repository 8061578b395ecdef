# The Windows build (cross-compiled with cmake/mingw-w64-x86_64.cmake): the module, the host
# library, quorvel-render and quorvel-info, and the tests that run under Wine. The X11 window
# layer, the sanitizer, fuzz and benchmark builds and the Linux-only tools are not part of it.
if(QUORVEL_SANITIZE OR QUORVEL_TSAN OR QUORVEL_FUZZ)
  message(FATAL_ERROR "the Windows build has no sanitizer or fuzz variant")
endif()
if(NOT QUORVEL_WINDOWS_DEPS)
  message(FATAL_ERROR "Set QUORVEL_WINDOWS_DEPS to the prefix tools/windows/build-deps.sh printed")
endif()

# Cairo's headers must declare a static library, or its DllMain becomes the module's.
add_compile_definitions(CAIRO_WIN32_STATIC_BUILD=1)
