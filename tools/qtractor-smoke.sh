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

packages=(qtractor jackd2 xvfb xdotool imagemagick matchbox-window-manager libx11-dev gcc)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

if [ ! -f "$build/Quorvel.clap" ]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUORVEL_TESTS=OFF \
    -DQUORVEL_BENCHMARKS=OFF >/dev/null
  cmake --build "$build" --target Quorvel
fi

rm -rf "$work"
mkdir -p "$work/clap" "$work/home" "$work/session"
cp "$build/Quorvel.clap" "$work/clap/"
gcc -shared -fPIC -O2 -o "$work/alsa-seq-stand-in.so" "$root/tests/qtractor/alsa-seq-stand-in.c"
gcc -O2 -o "$work/close-window" "$root/tests/qtractor/close-window.c" -lX11

pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill -9 "$pid" 2>/dev/null || true; done
}
trap cleanup EXIT

# The virtual display (a free number), its window manager and the JACK server.
mkfifo "$work/display"
Xvfb -displayfd 3 -screen 0 1600x1000x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
pids+=($!)
read -r -t 20 number <"$work/display"
export DISPLAY=":$number"
matchbox-window-manager -use_titlebar no >"$work/wm.log" 2>&1 &
pids+=($!)
jackd -n "quorvel-smoke-$$" -r -d dummy -r 48000 -p 512 >"$work/jack.log" 2>&1 &
pids+=($!)
export JACK_DEFAULT_SERVER="quorvel-smoke-$$"
sleep 2

# A session with one audio track holding the plug-in.
cat >"$work/session/smoke.qtr" <<XML
<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE qtractorSession>
<session version="0.9.31" name="smoke">
 <properties><directory>$work/session</directory><sample-rate>48000</sample-rate></properties>
 <devices><audio-engine><audio-bus name="Master" mode="duplex"><channels>2</channels>
  <auto-connect>1</auto-connect></audio-bus></audio-engine></devices>
 <tracks>
  <track name="Quorvel" type="audio">
   <state><input-bus name="Master"/><output-bus name="Master"/></state>
   <plugins><plugin type="CLAP"><filename>$work/clap/Quorvel.clap</filename><index>0</index>
    <label>com.brackmoor.quorvel</label><activated>1</activated></plugin></plugins>
  </track>
 </tracks>
</session>
XML

(cd "$work" && HOME="$work/home" CLAP_PATH="$work/clap" \
  LD_PRELOAD="$work/alsa-seq-stand-in.so" exec qtractor "$work/session/smoke.qtr") \
  >"$work/qtractor.log" 2>&1 &
qtractor=$!
pids+=($qtractor)

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
