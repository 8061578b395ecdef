#!/usr/bin/env bash
# Shows which CLAP plug-ins Debian's Qtractor finds in its default scan, as a new user meets
# it: a fresh home, no CLAP_PATH (so Qtractor looks in /usr/lib/clap), its "Add Plugin..."
# dialog opened on an audio track. Runs under Xvfb with JACK's dummy backend and the ALSA
# sequencer stand-in of tools/qtractor-stage.sh; prints the plug-ins Qtractor's scan recorded
# and exits 0 when Quorvel is among them. Install the package first.
#
#   tools/qtractor-scan.sh [WORK-DIR]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
work=${1:-/tmp/qtractor-scan}

source "$root/tools/qtractor-stage.sh"
qtractor_install

rm -rf "$work"
mkdir -p "$work/home/.config/rncbc.org" "$work/session"
qtractor_stage "$root" "$work" scan

qtractor_session "$work/session/scan.qtr" scan ""
# The plug-in dialog lists every type, not only the first one (LADSPA) it starts with.
printf '[Default]\nPluginType=0\n' >"$work/home/.config/rncbc.org/Qtractor.conf"
qtractor_run "$work" "$work/session/scan.qtr" -u CLAP_PATH

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
