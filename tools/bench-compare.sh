#!/usr/bin/env bash
# Builds the engine's benchmark at two revisions in scratch folders and compares them in one
# run: per case both realtime factors (medians over the repetitions) and their ratio, the runs
# alternating case by case so that drift hits both sides. Then renders every case at both
# revisions and prints the largest output difference (exit status 1 beyond 1e-9).
#
#   tools/bench-compare.sh REV [REV2]     REV2 defaults to the working tree
#
# Environment: REPS (repetitions per side, default 5), FILTER (a benchmark regex, default
# every case), MIN_TIME (seconds per case and run, default 0.2), KEEP=1 keeps the scratch
# folder. Both sides measure the cases of the newer side's tests/bench (and the case table in
# tests/effect/EngineCases.h).
set -euo pipefail
if [ $# -lt 1 ] || [ $# -gt 2 ]; then
  echo "usage: $0 REV [REV2]" >&2
  exit 2
fi
checkout=$(cd "$(dirname "$0")/.." && pwd)
reps=${REPS:-5}
filter=${FILTER:-.}
min_time=${MIN_TIME:-0.2}
scratch=$(mktemp -d "${TMPDIR:-/tmp}/bench-compare.XXXXXX")
if [ "${KEEP:-0}" != 1 ]; then trap 'rm -rf "$scratch"' EXIT; fi

# A revision's sources in a folder of their own; "" is the working tree, built in place.
unpack() {
  local rev=$1 dir=$2
  if [ -z "$rev" ]; then
    echo "$checkout"
    return
  fi
  mkdir -p "$dir"
  git -C "$checkout" archive "$(git -C "$checkout" rev-parse --verify "$rev^{commit}")" |
    tar -x -C "$dir"
  echo "$dir"
}

old_src=$(unpack "$1" "$scratch/old")
new_src=$(unpack "${2:-}" "$scratch/new")
# The same cases on both sides: the older side takes the newer side's benchmark sources.
rm -rf "$old_src/tests/bench"
cp -r "$new_src/tests/bench" "$old_src/tests/bench"
cp "$new_src/tests/effect/EngineCases.h" "$new_src/tests/effect/ParameterSet.h" \
  "$old_src/tests/effect/"

for side in old new; do
  src=${side}_src
  echo "building $side (${!src}) ..." >&2
  cmake -S "${!src}" -B "$scratch/build-$side" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DQUORVEL_TESTS=OFF >"$scratch/$side-configure.log" 2>&1 ||
    { cat "$scratch/$side-configure.log" >&2; exit 1; }
  nice -n 5 cmake --build "$scratch/build-$side" -j "$(nproc)" --target quorvel_bench \
    quorvel_renders >"$scratch/$side-build.log" 2>&1 ||
    { tail -40 "$scratch/$side-build.log" >&2; exit 1; }
done

# Case by case, the two sides back to back and taking turns to go first, so that the drift of a
# shared machine hits both alike.
mapfile -t cases < <("$scratch/build-new/tests/bench/quorvel_bench" --benchmark_filter="$filter" \
  --benchmark_list_tests=true 2>/dev/null)
for ((r = 1; r <= reps; ++r)); do
  echo "repetition $r of $reps (${#cases[@]} cases)" >&2
  sides=(old new)
  if ((r % 2 == 0)); then sides=(new old); fi
  for ((c = 0; c < ${#cases[@]}; ++c)); do
    for side in "${sides[@]}"; do
      "$scratch/build-$side/tests/bench/quorvel_bench" --benchmark_filter="^${cases[c]}\$" \
        --benchmark_min_time="$min_time" --benchmark_format=json \
        >"$scratch/$side-$r-$c.json" 2>/dev/null
    done
  done
done

python3 - "$scratch" "$reps" "${#cases[@]}" <<'EOF'
import json, statistics, sys
scratch, reps, count = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
def load(side):
    runs = {}
    order = []
    for c in range(count):
        for r in range(1, reps + 1):
            with open(f"{scratch}/{side}-{r}-{c}.json") as f:
                for b in json.load(f)["benchmarks"]:
                    name = b["name"] + (f" ({b['label']})" if b.get("label") else "")
                    if name not in runs:
                        order.append(name)
                    runs.setdefault(name, []).append(b["realtime"])
    return order, {k: statistics.median(v) for k, v in runs.items()}
order, old = load("old")
_, new = load("new")
width = max(len(n) for n in order)
print(f"{'case':<{width}}  {'old':>9}  {'new':>9}  {'ratio':>6}")
for name in order:
    if name in new:
        print(f"{name:<{width}}  {old[name]:8.1f}x  {new[name]:8.1f}x  {new[name] / old[name]:6.2f}")
EOF

echo "comparing the outputs ..." >&2
# Streamed from one build into the other: the renders run to a few hundred megabytes.
"$scratch/build-old/tests/bench/quorvel_renders" --write /dev/stdout |
  "$scratch/build-new/tests/bench/quorvel_renders" --compare /dev/stdin \
    >"$scratch/renders.txt" && status=0 || status=$?
if [ "$status" -eq 0 ]; then
  tail -1 "$scratch/renders.txt"
else
  grep -v ' identical ' "$scratch/renders.txt"
fi
exit "$status"
