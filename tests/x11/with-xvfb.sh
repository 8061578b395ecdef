#!/usr/bin/env bash
# Runs a command against a virtual X server of its own (MIT-SHM and XTEST on), DISPLAY set:
# the editor's window tests need a display, and CI has none. Xvfb picks a free display number.
set -uo pipefail

fifo=$(mktemp -u)
mkfifo "$fifo"
Xvfb -displayfd 3 -screen 0 2400x1400x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
server=$!
trap 'kill "$server" 2>/dev/null; wait "$server" 2>/dev/null; rm -f "$fifo"' EXIT
if ! read -r -t 20 number <"$fifo"; then
  echo "with-xvfb: Xvfb did not start" >&2
  exit 1
fi
DISPLAY=":$number" "$@"
