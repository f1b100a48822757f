#!/usr/bin/env bash
# Regenerates the demo's data into a fresh folder and compares it byte for byte with the
# committed Data/ (run from the repository root). Also keeps Data/ under 5 MB.
# Usage: tests/data/regenerate_check.sh <kv_datagen binary>
set -euo pipefail

generator="${1:?usage: regenerate_check.sh <kv_datagen binary>}"
root="$(pwd)"
out="$(mktemp -d)"
trap 'rm -rf "$out"' EXIT

if ! "$generator" "$out" > "$out/generator.log" 2>&1; then
  echo "kv_datagen failed:"
  cat "$out/generator.log"
  exit 1
fi

status=0
while IFS= read -r file; do
  if [ ! -f "$root/$file" ]; then
    echo "missing from the repository: $file"
    status=1
  elif ! cmp -s "$out/$file" "$root/$file"; then
    echo "differs from the generator's output: $file"
    status=1
  fi
done < <(cd "$out" && find Data -type f | sort)

while IFS= read -r file; do
  if [ ! -f "$out/$file" ]; then
    echo "not made by the generator: $file"
    status=1
  fi
done < <(cd "$root" && find Data -type f | sort)

size=$(du -sb "$root/Data" | cut -f1)
if [ "$size" -ge 5000000 ]; then
  echo "Data/ holds $size bytes, more than 5 MB"
  status=1
fi

if [ "$status" -eq 0 ]; then
  echo "Data/ matches the generator's output ($size bytes)"
fi
exit "$status"
