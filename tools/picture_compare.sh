#!/usr/bin/env bash
# Compares a picture with a reference picture the way the reference tests judge them: both
# reduced to 200 × 150 by averaging, then a pixel counts as different when its colour is
# farther than FUZZ (percent of the colour range) from the reference's. Prints the fraction
# of differing pixels; with a third argument, writes a difference picture there (differing
# pixels in red over a faded copy of the reference).
#
#   tools/picture_compare.sh REFERENCE.png PICTURE.png [DIFFERENCE.png]
set -euo pipefail
FUZZ=${FUZZ:-8}
reference=$1 picture=$2 difference=${3:-null:}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for side in reference picture; do
  convert "${!side}" -alpha off -scale '200x150!' -depth 8 "$work/$side.png"
done
# compare exits 1 when the pictures differ; only a failure to read them (2) is an error.
differing=$(compare -metric AE -fuzz "$FUZZ%" -highlight-color red -lowlight-color '#ffffff80' \
  "$work/reference.png" "$work/picture.png" "$difference" 2>&1 >/dev/null) || [ $? -eq 1 ]
awk -v d="${differing%% *}" 'BEGIN { printf "%.4f\n", d / (200 * 150) }'
