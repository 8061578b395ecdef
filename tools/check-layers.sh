#!/usr/bin/env bash
# Fails when a source file includes a header of a layer it may not see, or when a target
# publishes the whole source tree as its include directory. The layers and what each builds on
# come from cmake/Layers.txt, the table the CMake targets are linked from. Run from anywhere.
set -euo pipefail
cd "$(dirname "$0")/.."

declare -A below=()
while read -r dir _ rest; do
  below[$dir]=$rest
done < <(grep -v '^#' cmake/Layers.txt | grep .)

# visible DIR: the layers DIR builds on, and theirs in turn.
visible() {
  local seen=" " queue=(${below[$1]}) next
  while [ ${#queue[@]} -gt 0 ]; do
    next=${queue[0]}
    queue=("${queue[@]:1}")
    [[ $seen == *" $next "* ]] && continue
    seen+="$next "
    queue+=(${below[$next]})
  done
  printf '%s' "$seen"
}
declare -A allowed=()
for dir in "${!below[@]}"; do allowed[$dir]=$(visible "$dir"); done

# The layer of a path: the longest table folder that is a folder prefix of it, so that
# framework/plugin is its own layer above graphics.
layer_of() {
  local path=$1 best=""
  for key in "${!allowed[@]}"; do
    if [[ $path == "$key"/* && ${#key} -gt ${#best} ]]; then best=$key; fi
  done
  printf '%s' "$best"
}

failures=0
while IFS= read -r file; do
  from=$(layer_of "$file")
  [ -n "$from" ] || continue
  while IFS= read -r header; do
    [[ $header == */* ]] || continue  # a sibling in the same folder
    to=$(layer_of "$header")
    [ -n "$to" ] || continue
    [ "$to" = "$from" ] && continue
    if [[ ${allowed[$from]} != *" $to "* ]]; then
      echo "$file: includes $header ($from may not see $to)"
      failures=$((failures + 1))
    fi
  done < <(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' "$file")
done < <(git ls-files -- '*.h' '*.cpp' '*.c' ':!tests/*')

if grep -rn --include=CMakeLists.txt --include='*.cmake' -E \
  'target_include_directories\(.*(PUBLIC|INTERFACE).*\$\{(PROJECT|CMAKE)_SOURCE_DIR\}\)?[[:space:]]*$' .; then
  echo "a target publishes the source root to everything that links it"
  failures=$((failures + 1))
fi

if [ "$failures" -gt 0 ]; then
  echo "layer check: $failures violation(s)"
  exit 1
fi
echo "layer check: every include stays within its layer's reach"
