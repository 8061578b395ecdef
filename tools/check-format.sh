#!/usr/bin/env bash
# Fails when a C or C++ source of the project differs from what clang-format makes of it.
set -euo pipefail
cd "$(dirname "$0")/.."
git ls-files -z -- '*.h' '*.cpp' '*.c' | xargs -0 clang-format --dry-run -Werror
echo "format check: every source is formatted"
