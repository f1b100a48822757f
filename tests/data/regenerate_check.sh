#!/usr/bin/env bash
# Regenerates the demo's data into a fresh folder and compares it byte for byte with the
# committed Data/ (run from the repository root). Also keeps Data/ under 5 MB.
# Usage: tests/data/regenerate_check.sh <kv_datagen binary>
set -euo pipefail

generator="${1:?usage: regenerate_check.sh <kv_datagen binary>}"
out="$(mktemp -d)"
trap 'rm -rf "$out"' EXIT

"$generator" "$out" >"$out/generator.log" 2>&1 || { echo "kv_datagen failed:"; cat "$out/generator.log"; exit 1; }
status=0
# Reports files that differ, are missing from the repository or were not made by the generator.
diff -rq "$out/Data" Data || status=1
size=$(du -sb Data | cut -f1)
[ "$size" -lt 5000000 ] || { echo "Data/ holds $size bytes, more than 5 MB"; status=1; }
[ "$status" -eq 0 ] && echo "Data/ matches the generator's output ($size bytes)"
exit "$status"
