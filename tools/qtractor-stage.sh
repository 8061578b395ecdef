# What the Qtractor scripts share; sourced, not run. Debian's Qtractor needs a display, a JACK
# server and the ALSA sequencer, which containers lack: a stand-in for it is preloaded.
#
#   qtractor_install PACKAGE...       installs Qtractor's stage and the extra packages given
#   qtractor_stage ROOT WORK NAME     builds the stand-in into WORK and starts Xvfb (DISPLAY),
#                                     a window manager and a JACK server (JACK_DEFAULT_SERVER);
#                                     everything started is stopped when the script exits
#   qtractor_session FILE NAME TRACK  writes a session with one audio track (TRACK is its XML
#                                     inside <track>) and a stereo master bus
#   qtractor_run WORK SESSION ENV-ARGS...  starts Qtractor on SESSION with HOME=WORK/home, the
#                                     stand-in and env's arguments (-u NAME, NAME=VALUE); sets
#                                     qtractor_pid

qtractor_install() {
  local packages=(qtractor jackd2 xvfb xdotool matchbox-window-manager gcc "$@") missing=() p
  for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

qtractor_pids=()
qtractor_stop() {
  exec 2>/dev/null  # Qtractor aborts on SIGTERM; the shell's note of it is noise
  # A JACK server killed outright leaves its entry in the shared registry behind.
  local pid
  for pid in "${qtractor_pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  sleep 1
  for pid in "${qtractor_pids[@]}"; do kill -9 "$pid" 2>/dev/null || true; done
}

qtractor_stage() {
  local root=$1 work=$2 name=$3 number
  gcc -shared -fPIC -O2 -o "$work/alsa-seq-stand-in.so" "$root/tests/qtractor/alsa-seq-stand-in.c"
  trap qtractor_stop EXIT
  mkfifo "$work/display"
  Xvfb -displayfd 3 -screen 0 1600x1000x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
  qtractor_pids+=($!)
  read -r -t 20 number <"$work/display"
  export DISPLAY=":$number"
  matchbox-window-manager -use_titlebar no >"$work/wm.log" 2>&1 &
  qtractor_pids+=($!)
  jackd -n "quorvel-$name-$$" -r -d dummy -r 48000 -p 512 >"$work/jack.log" 2>&1 &
  qtractor_pids+=($!)
  export JACK_DEFAULT_SERVER="quorvel-$name-$$"
  sleep 2
}

qtractor_session() {
  local file=$1 name=$2 track=$3
  cat >"$file" <<XML
<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE qtractorSession>
<session version="0.9.31" name="$name">
 <properties><directory>$(dirname "$file")</directory><sample-rate>48000</sample-rate></properties>
 <devices><audio-engine><audio-bus name="Master" mode="duplex"><channels>2</channels>
  <auto-connect>1</auto-connect></audio-bus></audio-engine></devices>
 <tracks>
  <track name="$name" type="audio">
   <state><input-bus name="Master"/><output-bus name="Master"/></state>
   $track
  </track>
 </tracks>
</session>
XML
}

qtractor_run() {
  local work=$1 session=$2
  shift 2
  (cd "$work" && exec env "$@" HOME="$work/home" LD_PRELOAD="$work/alsa-seq-stand-in.so" \
    qtractor "$session") >"$work/qtractor.log" 2>&1 &
  qtractor_pid=$!
  qtractor_pids+=($qtractor_pid)
}
