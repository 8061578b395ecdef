#!/usr/bin/env bash
# Shows which CLAP plug-ins Debian's Qtractor finds in its default scan, as a new user meets
# it: a fresh home, no CLAP_PATH (so Qtractor looks in /usr/lib/clap), its "Add Plugin..."
# dialog opened on an audio track. Runs under Xvfb with JACK's dummy backend and the ALSA
# sequencer stand-in of tools/qtractor-smoke.sh; prints the plug-ins Qtractor's scan recorded
# and exits 0 when Quorvel is among them. Install the package first.
#
#   tools/qtractor-scan.sh [WORK-DIR]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
work=${1:-/tmp/qtractor-scan}

packages=(qtractor jackd2 xvfb xdotool matchbox-window-manager gcc)
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

rm -rf "$work"
mkdir -p "$work/home/.config/rncbc.org" "$work/session"
gcc -shared -fPIC -O2 -o "$work/alsa-seq-stand-in.so" "$root/tests/qtractor/alsa-seq-stand-in.c"

pids=()
cleanup() {
  exec 2>/dev/null  # Qtractor aborts on SIGTERM; the shell's note of it is noise
  # A JACK server killed outright leaves its entry in the shared registry behind.
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  sleep 1
  for pid in "${pids[@]}"; do kill -9 "$pid" 2>/dev/null || true; done
}
trap cleanup EXIT

mkfifo "$work/display"
Xvfb -displayfd 3 -screen 0 1600x1000x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
pids+=($!)
read -r -t 20 number <"$work/display"
export DISPLAY=":$number"
matchbox-window-manager -use_titlebar no >"$work/wm.log" 2>&1 &
pids+=($!)
jackd -n "quorvel-scan-$$" -r -d dummy -r 48000 -p 512 >"$work/jack.log" 2>&1 &
pids+=($!)
export JACK_DEFAULT_SERVER="quorvel-scan-$$"
sleep 2

cat >"$work/session/scan.qtr" <<XML
<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE qtractorSession>
<session version="0.9.31" name="scan">
 <properties><directory>$work/session</directory><sample-rate>48000</sample-rate></properties>
 <devices><audio-engine><audio-bus name="Master" mode="duplex"><channels>2</channels>
  <auto-connect>1</auto-connect></audio-bus></audio-engine></devices>
 <tracks>
  <track name="Audio" type="audio">
   <state><input-bus name="Master"/><output-bus name="Master"/></state>
  </track>
 </tracks>
</session>
XML
# The plug-in dialog lists every type, not only the first one (LADSPA) it starts with.
printf '[Default]\nPluginType=0\n' >"$work/home/.config/rncbc.org/Qtractor.conf"

(cd "$work" && unset CLAP_PATH && HOME="$work/home" \
  LD_PRELOAD="$work/alsa-seq-stand-in.so" exec qtractor "$work/session/scan.qtr") \
  >"$work/qtractor.log" 2>&1 &
pids+=($!)

for _ in $(seq 60); do
  xdotool search --name "^scan" >/dev/null 2>&1 && break
  sleep 0.5
done
sleep 3
# The track's plug-in list (Qtractor's window fills the screen): its menu, "Add Plugin...".
xdotool mousemove 185 179 click 3 sleep 1 key a
cache="$work/home/.cache/Qtractor/qtractor_clap_scan.cache"
for _ in $(seq 60); do
  [ -s "$cache" ] && break
  sleep 0.5
done
sleep 1
[ -s "$cache" ] || { echo "qtractor-scan: Qtractor scanned no CLAP plug-in (see $work)" >&2; exit 1; }
echo "CLAP plug-ins in Qtractor's default scan ($cache):"
cat "$cache"
grep -q '^CLAP|Quorvel|' "$cache"
