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
flags=(-G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUORVEL_BENCHMARKS=OFF
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
# The Windows libraries and build, below the Linux build's priority; their tests compare the
# preset renders with this build's, so they wait for it.
nice -n 10 tools/windows/test.sh --build-only --generator "$generator" "$build" >"$windows_log" 2>&1 &
windows_build=$!

CC=clang CXX=clang++ cmake -S . -B "$build" "${flags[@]}" -DQUORVEL_SANITIZE=ON -DQUORVEL_FUZZ=ON \
  -DQUORVEL_ARTWORK_GENERATOR="$generator"
cmake --build "$build" -j "$jobs"

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --test-dir "$build" --output-on-failure -j "$jobs"

status=0
wait "$windows_build" || status=$?
if [ "$status" -ne 0 ]; then
  cat "$windows_log"
  exit "$status"
fi
tools/windows/test.sh --generator "$generator" "$build" >>"$windows_log" 2>&1 &
windows_tests=$!

# ThreadSanitizer over the tests that run the process call beside main-thread calls and many
# instances on threads of their own: those tests and what they link.
tsan=build-tsan
cmake -S . -B "$tsan" "${flags[@]}" -DQUORVEL_TSAN=ON -DQUORVEL_ARTWORK_GENERATOR="$generator"
cmake --build "$tsan" -j "$jobs" --target product_ConcurrencyTest product_LoadTest
TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1 \
  ctest --test-dir "$tsan" --output-on-failure -j "$jobs"

echo "Windows stage:"
wait "$windows_tests" || status=$?
cat "$windows_log"
exit "$status"
