#!/usr/bin/env bash
# Fails when a source file includes a header of a layer it may not see, or when a target
# publishes the whole source tree as its include directory. Run from anywhere.
set -euo pipefail
cd "$(dirname "$0")/.."

# Folder: the folders its files may include from (its own is always allowed). The most
# specific folder wins, so framework/plugin is its own layer above graphics.
declare -A allowed=(
  [framework]=""
  [graphics]="framework"
  [graphics/platform]="graphics framework"
  [framework/plugin]="graphics framework"
  [host/clap]=""
  [host]="host/clap framework/plugin graphics framework"
  [effect]="framework"
  [resources]="graphics"
  [editor]="effect resources graphics/platform graphics framework/plugin framework"
  [product/ext]="host/clap"
  [product]="product/ext editor effect resources host host/clap graphics/platform graphics framework/plugin framework"
  [tools/clap-host]="host/clap"
  [tools]="product/ext effect tools/clap-host host/clap resources graphics/platform graphics framework"
)

# The layer of a path: the longest table key that is a folder prefix of it.
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
    # A tool may include its own folder's headers.
    [[ $from == tools && $header == "${file%/*}"/* ]] && continue
    # The generated version header is the one piece of the product a program may print.
    [[ $from == tools && $header == product/Version.h ]] && continue
    if [[ " ${allowed[$from]} " != *" $to "* ]]; then
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
