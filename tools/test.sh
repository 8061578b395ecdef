#!/usr/bin/env bash
# Installs what is missing and runs the whole suite through CTest: the tests and both fuzz
# targets under AddressSanitizer and UndefinedBehaviorSanitizer (one clang build), the threaded
# test under ThreadSanitizer (GCC), and the Windows build with its tests under Wine. The Windows
# stage runs beside the Linux ones; its output follows theirs.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh --windows

jobs=$(nproc)
trap 'kill $(jobs -p) 2>/dev/null || true' EXIT
mkdir -p build-windows
# The Windows libraries build from the start, below the Linux build's priority: their configure
# scripts keep a single core busy.
nice -n 10 tools/windows/build-deps.sh build-windows/deps >/dev/null 2>build-windows/deps.log &

# Line tables are all a sanitizer report needs; full debug information only slows the builds.
flags=(-G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUORVEL_BENCHMARKS=OFF
  "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O2 -g1 -DNDEBUG" "-DCMAKE_C_FLAGS_RELWITHDEBINFO=-O2 -g1 -DNDEBUG")
build=build-test
CC=clang CXX=clang++ cmake -S . -B "$build" "${flags[@]}" -DQUORVEL_SANITIZE=ON -DQUORVEL_FUZZ=ON
cmake --build "$build" -j "$jobs"

# The Windows build takes this build's artwork generator, and its preset renders are compared
# with this build's.
windows_log=build-windows/stage.log
tools/windows/test.sh "$build" >"$windows_log" 2>&1 &
windows=$!

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --test-dir "$build" --output-on-failure -j "$jobs"

# ThreadSanitizer over the test that runs the process call beside main-thread calls: that test
# and what it links.
tsan=build-tsan
cmake -S . -B "$tsan" "${flags[@]}" -DQUORVEL_TSAN=ON \
  -DQUORVEL_ARTWORK_GENERATOR="$PWD/$build/resources/quorvel-artwork"
cmake --build "$tsan" -j "$jobs" --target product_ConcurrencyTest
TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1 \
  ctest --test-dir "$tsan" --output-on-failure -j "$jobs"

echo "Windows stage:"
status=0
wait "$windows" || status=$?
cat "$windows_log"
exit "$status"
