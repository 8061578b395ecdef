#!/usr/bin/env bash
# The main job: installs what is missing, builds Quorvel in Release, installs Quorvel.clap to
# ~/.clap and renders the built-in demo (drums, bass and chords) through a few factory presets
# with the installed module, exactly as a host would load it.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh

build=build-release
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DQUORVEL_TESTS=OFF -DQUORVEL_BENCHMARKS=OFF
cmake --build "$build" -j "$(nproc)"
cmake --install "$build"

module="$HOME/.clap/Quorvel.clap"
"$build/tools/quorvel-info/quorvel-info" "$module" | sed -n 1,4p

mkdir -p out
render() {
  local file="out/$1.wav"
  shift
  "$build/tools/quorvel-render/quorvel-render" --plugin "$module" --out "$file" "$@"
}
render dry --preset "Full Bypass"
render heavy-comp --preset "[DRUM]  Heavy Comp"
render vintage-combo --preset "[EPIANO]  Vintage Combo"
render planet-of-the-trance-sweeps --preset "[FX]  Planet of the Trance Sweeps"
render swirly-tail --preset "[GUITAR]  Swirly Tail 3000"
render bass-shape --preset "[SYNTH]  Bass Shape" --set "drive=0.6"
echo "Quorvel is installed at $module; listen to the files in out/."
