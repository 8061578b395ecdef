#!/usr/bin/env bash
# Installs what is missing and runs the whole suite through CTest: the tests and both fuzz
# targets under AddressSanitizer and UndefinedBehaviorSanitizer (one clang build), the threaded
# test under ThreadSanitizer (GCC), and the Windows build with its tests under Wine. The Windows
# build runs beside the Linux stages from the start; its output follows theirs.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh --windows

jobs=$(nproc)
trap 'kill $(jobs -p) 2>/dev/null || true' EXIT
# Line tables are all a sanitizer report needs; full debug information only slows the builds.
# Sources compiled in batches: most of a build is parsing the same headers again.
flags=(-G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUORVEL_BENCHMARKS=OFF -DCMAKE_UNITY_BUILD=ON
  "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O2 -g1 -DNDEBUG" "-DCMAKE_C_FLAGS_RELWITHDEBINFO=-O2 -g1 -DNDEBUG")

# The artwork generator, built once for every build below.
artwork=build-artwork
cmake -S . -B "$artwork" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUORVEL_TESTS=OFF \
  -DQUORVEL_BENCHMARKS=OFF >/dev/null
cmake --build "$artwork" -j "$jobs" --target quorvel-artwork
generator=$PWD/$artwork/resources/quorvel-artwork

build=build-test
mkdir -p build-windows
windows_log=build-windows/stage.log
# The Windows stage runs beside the Linux ones. Its tests compare the preset renders with this
# build's, so they wait for the lock this shell holds until the Linux build is done.
linux_lock=build-windows/linux-build.lock
exec 7>"$linux_lock"
flock 7
(
  tools/windows/test.sh --build-only --generator "$generator" "$build"
  flock "$linux_lock" true
  tools/windows/test.sh --generator "$generator" "$build"
) >"$windows_log" 2>&1 7>&- &
windows=$!

CC=clang CXX=clang++ cmake -S . -B "$build" "${flags[@]}" -DQUORVEL_SANITIZE=ON -DQUORVEL_FUZZ=ON \
  -DQUORVEL_ARTWORK_GENERATOR="$generator"
cmake --build "$build" -j "$jobs"
flock -u 7

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --test-dir "$build" --output-on-failure -j "$jobs"

# ThreadSanitizer over the tests that run the process call beside main-thread calls and many
# instances on threads of their own: those tests and what they link.
tsan=build-tsan
cmake -S . -B "$tsan" "${flags[@]}" -DQUORVEL_TSAN=ON -DQUORVEL_ARTWORK_GENERATOR="$generator"
cmake --build "$tsan" -j "$jobs" --target product_ConcurrencyTest product_LoadTest
TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1 \
  ctest --test-dir "$tsan" --output-on-failure -j "$jobs"

echo "Windows stage:"
status=0
wait "$windows" || status=$?
cat "$windows_log"
exit "$status"
