#!/usr/bin/env bash
# wine-run.sh PREFIX PROGRAM [ARGS...]
# Runs a Windows program under Wine in the prefix PREFIX, made on first use: no installer
# dialogs, no debug chatter, and windows not managed by a window manager (with none running,
# closing a managed window stalls for seconds).
set -euo pipefail
prefix=$(realpath -m "$1")
shift
export WINEPREFIX=$prefix
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
# The first run makes the prefix; parallel tests must not make it twice.
if [ ! -f "$prefix/.quorvel-ready" ]; then
  mkdir -p "$prefix"
  (
    flock 9
    if [ ! -f "$prefix/.quorvel-ready" ]; then
      wineboot --init >/dev/null 2>&1
      wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
      # Windows 10, not Wine's default 7: programs see the Windows they are made for (the
      # editor's frame clock waits for the vertical blank from Windows 8 on).
      wine reg add 'HKCU\Software\Wine' /v Version /d win10 /f >/dev/null 2>&1
      wineserver --wait
      touch "$prefix/.quorvel-ready"
    fi
  ) 9>"$prefix.lock"
fi
# A wineserver that outlives each program by a few seconds: without it every run of a
# series (the preset renders) pays Wine's start-up again. Its output goes nowhere, so that it
# holds no pipe of the caller's open. A running one makes this a no-op.
wineserver -p10 </dev/null >/dev/null 2>&1 || true
exec wine "$@"
