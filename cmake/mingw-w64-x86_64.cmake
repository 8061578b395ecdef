# Cross build for 64-bit Windows with Debian's mingw-w64 (POSIX threads). The static libraries
# the build needs (Cairo and what it uses, libsndfile) come from tools/windows/build-deps.sh;
# QUORVEL_WINDOWS_DEPS names their prefix. Test programs run under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(triple x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${triple}-g++-posix)
set(CMAKE_RC_COMPILER ${triple}-windres)

set(QUORVEL_WINDOWS_DEPS "" CACHE PATH "Prefix of the static Windows libraries (build-deps.sh)")
if(NOT QUORVEL_WINDOWS_DEPS AND DEFINED ENV{QUORVEL_WINDOWS_DEPS})
  set(QUORVEL_WINDOWS_DEPS "$ENV{QUORVEL_WINDOWS_DEPS}" CACHE PATH "" FORCE)
endif()
# Read again by try_compile projects, which see only the variables listed here.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES QUORVEL_WINDOWS_DEPS)

set(CMAKE_FIND_ROOT_PATH /usr/${triple} ${QUORVEL_WINDOWS_DEPS})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# pkg-config sees the Windows libraries only, with what they need themselves.
if(QUORVEL_WINDOWS_DEPS)
  set(ENV{PKG_CONFIG_LIBDIR} "${QUORVEL_WINDOWS_DEPS}/lib/pkgconfig")
  set(ENV{PKG_CONFIG_PATH} "")
endif()
set(PKG_CONFIG_ARGN --static)

# -O2, as the Linux test build: it keeps the build short, and the engine's results do not depend
# on it (no fused multiply-add, no reassociation).
set(CMAKE_C_FLAGS_RELEASE "-O2 -DNDEBUG" CACHE STRING "Flags of Release builds")
set(CMAKE_CXX_FLAGS_RELEASE "-O2 -DNDEBUG" CACHE STRING "Flags of Release builds")

# Everything links the C and C++ runtimes and winpthread in, so the outputs need no DLL that
# Windows itself does not ship.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static")

# The Wine prefix lives in the build folder and is made on first use.
set(CMAKE_CROSSCOMPILING_EMULATOR
  "${CMAKE_CURRENT_LIST_DIR}/../tools/windows/wine-run.sh;${CMAKE_BINARY_DIR}/wine")
