#!/usr/bin/env bash
# Opens Quorvel's editor in a real Linux DAW and drags a knob: Debian's Qtractor under Xvfb
# (with a small window manager), JACK's dummy backend, the module installed into a private
# CLAP folder. Qtractor needs the ALSA sequencer, which containers lack: a stand-in is
# preloaded. Leaves screenshots and logs in the work folder (default /tmp/qtractor-smoke) and
# exits 0 when the editor opened, the drag turned the knob and the editor closed with
# Qtractor still running.
#
#   tools/qtractor-smoke.sh [BUILD-DIR] [WORK-DIR]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build-qtractor}
work=${2:-/tmp/qtractor-smoke}

source "$root/tools/qtractor-stage.sh"
qtractor_install imagemagick libx11-dev

if [ ! -f "$build/Quorvel.clap" ]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUORVEL_TESTS=OFF \
    -DQUORVEL_BENCHMARKS=OFF >/dev/null
  cmake --build "$build" --target Quorvel
fi

rm -rf "$work"
mkdir -p "$work/clap" "$work/home" "$work/session"
cp "$build/Quorvel.clap" "$work/clap/"
gcc -O2 -o "$work/close-window" "$root/tests/qtractor/close-window.c" -lX11
qtractor_stage "$root" "$work" smoke

qtractor_session "$work/session/smoke.qtr" smoke \
  "<plugins><plugin type=\"CLAP\"><filename>$work/clap/Quorvel.clap</filename><index>0</index>
    <label>com.brackmoor.quorvel</label><activated>1</activated></plugin></plugins>"
qtractor_run "$work" "$work/session/smoke.qtr" CLAP_PATH="$work/clap"
qtractor=$qtractor_pid

shot() { xwd -root -silent | convert xwd:- "$work/$1.png"; }
fail() {
  shot failure
  echo "qtractor-smoke: $1 (see $work)" >&2
  exit 1
}
wait_for_window() {
  for _ in $(seq 60); do
    window=$(xdotool search --name "$1" 2>/dev/null | head -1) && [ -n "$window" ] && return 0
    sleep 0.5
  done
  return 1
}

wait_for_window "^smoke" || wait_for_window "Qtractor" || fail "Qtractor did not open"
sleep 3
shot session
# Double-clicking the plug-in in the track's list opens its editor (the window manager keeps
# Qtractor's window maximised on the 1600 × 1000 screen, so the entry is always here).
xdotool mousemove 185 179 click --repeat 2 --delay 80 1
wait_for_window "^Quorvel" || fail "the editor did not open"
editor=$window
sleep 2
shot editor-opened
convert "$work/editor-opened.png" -crop 120x90+0+10 "$work/knob-before.png"

# Drag the resonance knob upwards; the editor keeps the pointer where the press happened.
xdotool mousemove 60 58 sleep 0.3 mousedown 1 sleep 0.3 mousemove 60 40 sleep 0.3 \
  mousemove 60 20 sleep 0.3 mousemove 60 0 sleep 0.3 mouseup 1
sleep 1
shot editor-dragged
convert "$work/editor-dragged.png" -crop 120x90+0+10 "$work/knob-after.png"
eval "$(xdotool getmouselocation --shell)"
[ "$X" = 60 ] && [ "$Y" = 58 ] || fail "the pointer was not held in place (at $X,$Y)"
if compare -metric AE "$work/knob-before.png" "$work/knob-after.png" null: 2>/dev/null; then
  fail "the knob did not turn"
fi

# Close the editor as a window manager would; Qtractor must live on.
"$work/close-window" "$editor"
sleep 2
xdotool search --name "^Quorvel" >/dev/null 2>&1 && fail "the editor did not close"
kill -0 "$qtractor" 2>/dev/null || fail "Qtractor ended"
shot editor-closed
echo "qtractor-smoke: editor opened, the knob turned, the editor closed; screenshots in $work"
