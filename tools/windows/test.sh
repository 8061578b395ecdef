#!/usr/bin/env bash
# tools/windows/test.sh [--build-only] [--generator PATH] [LINUX-BUILD]
# The Windows stage: installs the cross compiler and Wine if missing, builds the static Windows
# libraries (cached in build-windows/deps), cross-builds Quorvel for Windows into
# build-windows and runs its tests under Wine (not with --build-only). The artwork generator
# is PATH, else LINUX-BUILD's, else a native sub-build makes one. LINUX-BUILD, a native build
# folder, lends its quorvel-render, whose renders of the factory presets the Windows renders
# must match (else that comparison is skipped).
set -euo pipefail
cd "$(dirname "$0")/../.."
build_only=false
generator=""
linux=""
while [ $# -gt 0 ]; do
  case $1 in
    --build-only) build_only=true ;;
    --generator) generator=$2; shift ;;
    *) linux=$(realpath -m "$1") ;;
  esac
  shift
done
tools/install-deps.sh --windows

build=build-windows
jobs=$(nproc)
prefix=$(tools/windows/build-deps.sh "$build/deps")

options=()
if [ -n "$linux" ]; then
  [ -n "$generator" ] || generator=$linux/resources/quorvel-artwork
  options+=("-DQUORVEL_LINUX_RENDER=$linux/tools/quorvel-render/quorvel-render")
fi
[ -z "$generator" ] || options+=("-DQUORVEL_ARTWORK_GENERATOR=$generator")
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DQUORVEL_WINDOWS_DEPS="$prefix" \
  "${options[@]}"
cmake --build "$build" -j "$jobs"
$build_only && exit 0

# One virtual display and one Wine server, in the build's prefix (made first, in a session of
# its own), for the whole stage: each test program then starts in a running Wine session.
export WINEPREFIX=$PWD/$build/wine
tests/x11/with-xvfb.sh bash -c '
  set -u
  tools/windows/wine-run.sh "$WINEPREFIX" cmd /c exit >/dev/null
  wineserver -k
  wineserver -w
  wineserver -p </dev/null >/dev/null 2>&1
  trap "wineserver -k; wineserver -w" EXIT
  ctest --test-dir "$1" --output-on-failure -j "$2"' - "$build" "$jobs"
