#!/usr/bin/env bash
# with-wine-display.sh PREFIX PROGRAM [ARGS...]
# Runs a Windows program that opens windows under Wine, in the prefix PREFIX, on an X display:
# the one in DISPLAY (the Windows stage starts one for all its tests), else a virtual display
# of its own (tests/x11/with-xvfb.sh). Wine's desktop belongs to the display of the session that
# started it, so a display of its own gets a prefix of its own, PREFIX-display, whose Wine
# session ends before that display goes; runs of it take turns.
set -uo pipefail
prefix=$1
shift
root=$(cd "$(dirname "$0")/../.." && pwd)
if [ -n "${DISPLAY:-}" ]; then
  exec "$root/tools/windows/wine-run.sh" "$prefix" "$@"
fi
prefix=$prefix-display
mkdir -p "$(dirname "$prefix")"
exec 9>"$prefix.lock"
flock 9
"$root/tests/x11/with-xvfb.sh" bash -c '
  prefix=$1
  shift
  "$@"
  status=$?
  WINEPREFIX=$prefix wineserver -k >/dev/null 2>&1
  WINEPREFIX=$prefix wineserver -w >/dev/null 2>&1
  exit $status' - "$prefix" "$root/tools/windows/wine-run.sh" "$prefix" "$@"
