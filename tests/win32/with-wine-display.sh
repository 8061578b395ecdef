#!/usr/bin/env bash
# with-wine-display.sh PREFIX PROGRAM [ARGS...]
# Runs a Windows program under Wine, in the prefix PREFIX, on a virtual X display of its own
# (tests/x11/with-xvfb.sh). One program at a time per prefix: Wine's desktop belongs to the
# display of the session that started it, so each run ends its Wine session before its display
# goes, and the next waits for that.
set -uo pipefail
prefix=$1
shift
root=$(cd "$(dirname "$0")/../.." && pwd)
mkdir -p "$(dirname "$prefix")"
exec 9>"$prefix.display-lock"
flock 9
"$root/tests/x11/with-xvfb.sh" bash -c '
  prefix=$1
  shift
  "$@"
  status=$?
  WINEPREFIX=$prefix wineserver -k >/dev/null 2>&1
  WINEPREFIX=$prefix wineserver -w >/dev/null 2>&1
  exit $status' - "$prefix" "$root/tools/windows/wine-run.sh" "$prefix" "$@"
