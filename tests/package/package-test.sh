#!/usr/bin/env bash
# The Debian package of a build, as a user receives it.
#   package-test.sh build WORK-DIR BUILD-DIR [CPACK] makes the package in WORK-DIR
#   package-test.sh contents WORK-DIR                its files are where hosts and users look
#   package-test.sh unpacked WORK-DIR                unpacked into a scratch root, its programs
#                                                    run on its module without the build
set -euo pipefail
step=$1
work=$2

fail() {
  echo "package-test: $*" >&2
  exit 1
}

package() {
  local found=("$work"/out/quorvel_*_amd64.deb)
  [ ${#found[@]} -eq 1 ] && [ -f "${found[0]}" ] || fail "no single package in $work/out"
  echo "${found[0]}"
}

case $step in
  build)
    rm -rf "$work"
    mkdir -p "$work"
    "${4:-cpack}" --config "$3/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 ||
      { cat "$work/cpack.log"; fail "cpack failed"; }
    package >/dev/null
    ;;
  contents)
    deb=$(package)
    # Every file and link, directories left out; links as "path -> target".
    listed=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { $1 = $2 = $3 = $4 = $5 = ""; sub(/^ +/, ""); print }' | sort)
    expected=$(sort <<'LIST'
./usr/bin/quorvel-info
./usr/bin/quorvel-render
./usr/bin/quorvel-snapshot
./usr/lib/clap/Quorvel.clap
./usr/lib/clap/Resources/Quorvel_manual.pdf -> ../../../share/quorvel/Quorvel_manual.pdf
./usr/share/doc/quorvel/Quorvel_manual.pdf -> ../../quorvel/Quorvel_manual.pdf
./usr/share/doc/quorvel/changelog.gz
./usr/share/doc/quorvel/copyright
./usr/share/man/man1/quorvel-info.1.gz
./usr/share/man/man1/quorvel-render.1.gz
./usr/share/man/man1/quorvel-snapshot.1.gz
./usr/share/quorvel/Quorvel_manual.pdf
LIST
    )
    [ "$listed" = "$expected" ] || fail "files differ:"$'\n'"$(diff <(echo "$expected") <(echo "$listed"))"
    # Worked out from the binaries by dpkg-shlibdeps.
    depends=$(dpkg-deb -f "$deb" Depends | tr ',' '\n' | awk '{ print $1 }')
    for library in libc6 libcairo2 libsndfile1 libx11-6; do
      grep -qx "$library" <<<"$depends" || fail "Depends lacks $library: $depends"
    done
    [ "$(dpkg-deb -f "$deb" Section)" = sound ] || fail "section is not sound"
    ;;
  unpacked)
    deb=$(package)
    root="$work/root"
    rm -rf "$root"
    dpkg-deb -x "$deb" "$root"
    usr="$root/usr"
    if readelf -d "$usr"/bin/* "$usr/lib/clap/Quorvel.clap" | grep -E 'R(UN)?PATH'; then
      fail "an installed binary carries a library search path"
    fi
    info=$("$usr/bin/quorvel-info" "$usr/lib/clap/Quorvel.clap") || fail "quorvel-info failed"
    [[ $info == *"Parameters (60)"* && $info == *"Presets (27)"* ]] || fail "quorvel-info: $info"
    # Without --plugin the unpacked program loads the module unpacked beside it.
    presets=$("$usr/bin/quorvel-render" --list-presets) || fail "quorvel-render failed"
    [ "$(wc -l <<<"$presets")" -eq 27 ] || fail "quorvel-render lists: $presets"
    cmp -s "$usr/lib/clap/Resources/Quorvel_manual.pdf" "$usr/share/quorvel/Quorvel_manual.pdf" ||
      fail "the manual's link from the module's Resources folder is broken"
    ;;
  *)
    fail "unknown step $step"
    ;;
esac
