#!/usr/bin/env bash
# install-deps.sh [--windows]
# Installs the Debian packages the build, the tests and the demo need, if any is missing; with
# --windows, those of the Windows stage as well (cross compiler, Wine, source-package tools).
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config git
  clang clang-format libclang-rt-14-dev
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  libcairo2-dev libpango1.0-dev libfreetype-dev libx11-dev libxext-dev libxtst-dev libsndfile1-dev
  fonts-roboto-unhinted fonts-dejavu-core poppler-utils
  xvfb xauth
  dpkg-dev file help2man
)
if [ "${1:-}" = "--windows" ]; then
  packages+=(g++-mingw-w64-x86-64-posix wine wine64 meson dpkg-dev)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
