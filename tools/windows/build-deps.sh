#!/usr/bin/env bash
# build-deps.sh [CACHE]
# Builds the static Windows (x86_64-w64-mingw32) libraries the Windows build links: zlib,
# libpng, FreeType, pixman, Cairo and libsndfile, from the Debian 12 source packages. Each one
# is built only when its stamp in CACHE/prefix is missing. The prefix to hand to CMake as
# QUORVEL_WINDOWS_DEPS is CACHE/prefix, the one line printed on stdout (progress goes to
# stderr). Concurrent runs on one CACHE take turns.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
cache=$(mkdir -p "${1:-$root/build-windows/deps}" && cd "${1:-$root/build-windows/deps}" && pwd)
prefix=$cache/prefix
src=$cache/src
work=$cache/build
host=x86_64-w64-mingw32
toolchain=$root/cmake/mingw-w64-x86_64.cmake
jobs=$(nproc)
mkdir -p "$prefix/lib/pkgconfig" "$prefix/include" "$src" "$work"
# A second run waits for one under way (the test command starts one early), then finds its
# libraries built.
exec 8>"$cache/.lock"
flock 8

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"

built() { [ -f "$prefix/.built-$1" ]; }
# logged NAME COMMAND...: runs a build step with its output in $work/NAME.log, shown on failure.
logged() {
  local log=$work/$1.log
  shift
  if ! "$@" >>"$log" 2>&1; then
    tail -n 40 "$log" >&2
    echo "failed; the whole log is $log" >&2
    exit 1
  fi
}
done_with() { touch "$prefix/.built-$1"; }

# The source packages come from Debian 12's archive; apt needs a deb-src entry for it.
ensure_sources() {
  if apt-cache showsrc cairo 2>/dev/null | grep -q '^Version: 1\.16'; then return; fi
  $sudo tee /etc/apt/sources.list.d/bookworm-src.sources >/dev/null <<'SOURCES'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SOURCES
  $sudo apt-get update -qq
}

# fetch PACKAGE: downloads the source package into $src once. Some archives serve the upstream
# tarball but not the Debian part (pixman's diff), so a partial download is kept.
fetch() {
  local stamp=$src/.fetched-$1
  [ -f "$stamp" ] && return
  (cd "$src" && apt-get source --download-only -qq "$1" >/dev/null 2>&1) || true
  ls "$src"/"$1"_*.orig.tar.* >/dev/null 2>&1 || { echo "no source for $1" >&2; exit 1; }
  touch "$stamp"
}

# unpack PACKAGE DIR [--skip-patches]: a fresh tree of the Debian source in DIR. apt checked
# the files against the archive's signed index; the maintainer's signature of the .dsc needs a
# keyring this machine has no use for otherwise.
unpack() {
  rm -rf "$2"
  (cd "$src" && logged "$1" dpkg-source --no-check --no-copy -x ${3:-} "$(ls "$1"_*.dsc | tail -1)" "$2")
}

cmake_build() { # cmake_build NAME SOURCE-DIR ARGS...
  local name=$1 dir=$2
  shift 2
  logged "$name" cmake -S "$dir" -B "$work/$name-build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DQUORVEL_WINDOWS_DEPS="$prefix" \
    -DCMAKE_INSTALL_PREFIX="$prefix" -DBUILD_SHARED_LIBS=OFF -Wno-dev "$@"
  logged "$name" cmake --build "$work/$name-build" -j "$jobs"
  logged "$name" cmake --install "$work/$name-build"
}

export PKG_CONFIG_LIBDIR=$prefix/lib/pkgconfig PKG_CONFIG_PATH=

ensure_sources
for p in zlib libpng1.6 freetype pixman cairo libsndfile; do fetch "$p"; done

# libsndfile needs none of the others; it builds beside them (Cairo's configure keeps one
# core idle for a minute).
if ! built sndfile; then
  echo "libsndfile" >&2
  unpack libsndfile "$work/libsndfile"
  # WAV and AIFF are built in; the compressed formats would need codec libraries.
  cmake_build sndfile "$work/libsndfile" -DENABLE_EXTERNAL_LIBS=OFF -DENABLE_MPEG=OFF \
    -DBUILD_PROGRAMS=OFF -DBUILD_EXAMPLES=OFF -DBUILD_TESTING=OFF -DENABLE_CPACK=OFF \
    -DBUILD_REGTEST=OFF -DINSTALL_MANPAGES=OFF -DENABLE_PACKAGE_CONFIG=OFF
  done_with sndfile
fi &
sndfile_job=$!

if ! built zlib; then
  echo "zlib" >&2
  unpack zlib "$work/zlib"
  # Debian's source lacks the win32 makefile; the library is its top-level C files.
  (
    cd "$work/zlib"
    for file in *.c; do logged zlib $host-gcc-posix -O2 -c "$file" -o "${file%.c}.o"; done
    logged zlib $host-ar rcs "$prefix/lib/libz.a" ./*.o
  )
  cp "$work/zlib/zlib.h" "$work/zlib/zconf.h" "$prefix/include/"
  version=$(sed -n 's/^#define ZLIB_VERSION "\(.*\)"/\1/p' "$work/zlib/zlib.h")
  cat >"$prefix/lib/pkgconfig/zlib.pc" <<PC
prefix=$prefix
Name: zlib
Description: zlib compression library
Version: $version
Libs: -L\${prefix}/lib -lz
Cflags: -I\${prefix}/include
PC
  done_with zlib
fi

if ! built libpng; then
  echo "libpng" >&2
  unpack libpng1.6 "$work/libpng"
  # The library is its top-level C files with the configuration libpng ships prebuilt; its
  # CMake build spends longer probing the cross compiler than compiling.
  (
    cd "$work/libpng"
    cp scripts/pnglibconf.h.prebuilt pnglibconf.h
    for file in png pngerror pngget pngmem pngpread pngread pngrio pngrtran pngrutil pngset \
      pngtrans pngwio pngwrite pngwtran pngwutil; do
      logged libpng $host-gcc-posix -O2 -I"$prefix/include" -c "$file.c" -o "$file.o"
    done
    logged libpng $host-ar rcs "$prefix/lib/libpng16.a" ./*.o
    mkdir -p "$prefix/include/libpng16"
    cp png.h pngconf.h pnglibconf.h "$prefix/include/libpng16/"
  )
  version=$(sed -n 's/^#define PNG_LIBPNG_VER_STRING "\(.*\)"/\1/p' "$work/libpng/png.h")
  cat >"$prefix/lib/pkgconfig/libpng.pc" <<PC
prefix=$prefix
Name: libpng
Description: Loads and saves PNG files
Version: $version
Requires.private: zlib
Libs: -L\${prefix}/lib -lpng16
Cflags: -I\${prefix}/include/libpng16
PC
  cp "$prefix/lib/pkgconfig/libpng.pc" "$prefix/lib/pkgconfig/libpng16.pc"
  done_with libpng
fi

if ! built freetype; then
  echo "freetype" >&2
  unpack freetype "$work/freetype"
  cmake_build freetype "$work/freetype" -DFT_REQUIRE_ZLIB=ON -DFT_DISABLE_BZIP2=ON \
    -DFT_DISABLE_PNG=ON -DFT_DISABLE_HARFBUZZ=ON -DFT_DISABLE_BROTLI=ON
  done_with freetype
fi

if ! built pixman; then
  echo "pixman" >&2
  rm -rf "$work/pixman"
  mkdir -p "$work/pixman"
  tar -xf "$(ls "$src"/pixman_*.orig.tar.* | tail -1)" -C "$work/pixman" --strip-components=1
  # Its build marks the API dllexport even for a static library, which would put every pixman
  # function into the plug-in's export table.
  sed -i "s/^if cc.has_function_attribute('dllexport')/if false/" "$work/pixman/pixman/meson.build"
  cat >"$work/pixman-cross.txt" <<CROSS
[binaries]
c = '$host-gcc-posix'
ar = '$host-ar'
strip = '$host-strip'
windres = '$host-windres'
pkg-config = 'pkg-config'
[host_machine]
system = 'windows'
cpu_family = 'x86_64'
cpu = 'x86_64'
endian = 'little'
CROSS
  logged pixman meson setup "$work/pixman-build" "$work/pixman" \
    --cross-file "$work/pixman-cross.txt" --prefix "$prefix" --libdir lib --buildtype release \
    --default-library static -Dtests=disabled -Dgtk=disabled -Dlibpng=disabled -Dopenmp=disabled
  logged pixman ninja -C "$work/pixman-build" -j "$jobs" install
  done_with pixman
fi

if ! built cairo; then
  echo "cairo" >&2
  # The Debian patches that touch autotools inputs would make the build run automake; the
  # others (fixes in the C sources) are applied.
  unpack cairo "$work/cairo" --skip-patches
  for patch in $(cat "$work/cairo/debian/patches/series"); do
    if ! grep '^+++ ' "$work/cairo/debian/patches/$patch" | grep -qE '(\.am|\.ac|\.ac\..*|\.m4)$'; then
      patch -d "$work/cairo" -p1 -s <"$work/cairo/debian/patches/$patch"
    fi
  done
  # The configure script adds _FORTIFY_SOURCE, whose checked functions mingw has only in libssp.
  sed -i 's/-D_FORTIFY_SOURCE=2//g' "$work/cairo/configure"
  # Only the library (src/) is built: no tests, tools or documentation.
  (
    cd "$work/cairo"
    logged cairo env PKG_CONFIG="pkg-config --static" CC=$host-gcc-posix CFLAGS="-O2" \
      CPPFLAGS="-I$prefix/include -DCAIRO_WIN32_STATIC_BUILD=1" LDFLAGS="-L$prefix/lib" \
      ./configure --host=$host --prefix="$prefix" --enable-static --disable-shared \
      --enable-win32=yes --enable-win32-font=yes --enable-ft=yes --enable-fc=no \
      --enable-png=yes --enable-xlib=no --enable-xlib-xrender=no --enable-xcb=no \
      --enable-pdf=no --enable-ps=no --enable-svg=no --enable-script=no \
      --enable-interpreter=no --enable-trace=no --enable-gobject=no --enable-full-testing=no
    logged cairo make -C src -j "$jobs"
    logged cairo make -C src install
  )
  # Whoever sees Cairo's headers must see them as those of a static library (or Cairo's own
  # DllMain becomes the plug-in's).
  sed -i 's/^Cflags: \(.*\)/Cflags: \1 -DCAIRO_WIN32_STATIC_BUILD=1/' "$prefix"/lib/pkgconfig/cairo*.pc
  done_with cairo
fi

wait "$sndfile_job" || exit 1

# The last line of the output, for callers.
echo "$prefix"
