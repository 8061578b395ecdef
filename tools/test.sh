#!/usr/bin/env bash
# Installs what is missing, builds the whole project under AddressSanitizer and
# UndefinedBehaviorSanitizer, and runs the suite through CTest; then the ThreadSanitizer and
# fuzz runs, and the Windows build with its tests under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh

jobs=$(nproc)
# Line tables are all a sanitizer report needs; full debug information only slows the builds.
flags=(-DCMAKE_BUILD_TYPE=RelWithDebInfo "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O2 -g1 -DNDEBUG"
  "-DCMAKE_C_FLAGS_RELWITHDEBINFO=-O2 -g1 -DNDEBUG")
build=build-test
cmake -S . -B "$build" -G Ninja "${flags[@]}" \
  -DQUORVEL_SANITIZE=ON -DQUORVEL_BENCHMARKS=OFF
cmake --build "$build" -j "$jobs"

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --test-dir "$build" --output-on-failure -j "$jobs"

# ThreadSanitizer over the tests that run the process call beside main-thread calls: a small
# build of those tests and what they link, nothing else.
tsan=build-tsan
cmake -S . -B "$tsan" -G Ninja "${flags[@]}" \
  -DQUORVEL_TSAN=ON -DQUORVEL_BENCHMARKS=OFF
cmake --build "$tsan" -j "$jobs" --target product_ConcurrencyTest
TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1 \
  ctest --test-dir "$tsan" --output-on-failure -j "$jobs"

# libFuzzer targets (clang): a short run of each through CTest.
fuzz=build-fuzz
CC=clang CXX=clang++ cmake -S . -B "$fuzz" -G Ninja "${flags[@]}" \
  -DQUORVEL_FUZZ=ON -DQUORVEL_TESTS=OFF
cmake --build "$fuzz" -j "$jobs" --target fuzz_StateLoadFuzz fuzz_ProcessEventsFuzz
ctest --test-dir "$fuzz" --output-on-failure -R '^fuzz_'

# The Windows build, cross-compiled and tested under Wine; its preset renders are compared with
# this build's.
tools/windows/test.sh "$build"
