#!/usr/bin/env bash
# The shipped scene, rendered offscreen frame by frame, against the reference pictures beside
# this script. Motion is counted in frames and the particles draw one fixed random sequence,
# so every run renders the same frames; the comparison (tools/picture_compare.sh) is coarse
# enough for another Mesa version and fine enough for a fault a user would see.
#
#   run.sh BIN_DIR OUT_DIR            compare; difference pictures go to OUT_DIR
#   run.sh BIN_DIR OUT_DIR --update   write new references, with difference pictures against
#                                     the old ones in OUT_DIR to review before committing
set -euo pipefail
bin=$1 out=$2 mode=${3:-}
here=$(cd "$(dirname "$0")" && pwd)
ALLOWED=${ALLOWED:-0.001}  # fraction of differing pixels that still passes
mkdir -p "$out"
export SDL_VIDEODRIVER=offscreen

# name, then the capture tool's options: frames to run and keys held over frame ranges.
scenes=(
  "start      --frames 1"
  "walk_turn  --frames 70 --hold W:0-50 --hold A:10-30 --hold Q:50-65"
  "zoom       --frames 100 --hold F7:0-1"
  "camera2    --frames 30 --hold F2:0-1"
  "slid       --frames 40 --hold T:0-15 --hold H:0-15"
  "head       --frames 150 --hold D:0-11 --hold W:11-20"
  "late       --frames 400"
)

failed=0
for scene in "${scenes[@]}"; do
  read -r name options <<<"$scene"
  # shellcheck disable=SC2086
  "$bin/kv_capture" $options --output "$out/$name.png" >/dev/null
  reference="$here/$name.png"
  figure="(no reference)"
  [ ! -f "$reference" ] || figure=$(bash "$here/../../tools/picture_compare.sh" "$reference" "$out/$name.png" "$out/$name-diff.png")
  if [ "$mode" = --update ]; then
    convert "$out/$name.png" -scale '200x150!' -depth 8 -strip "$reference"
    echo "$name: $figure of the old reference differs; review $out/$name-diff.png"
  elif awk -v f="$figure" -v a="$ALLOWED" 'BEGIN { exit !(f + 0 <= a) }' && [ -f "$reference" ]; then
    echo "$name: $figure differs (allowed $ALLOWED)"
  else
    echo "FAIL $name: $figure differs (allowed $ALLOWED); see $out/$name-diff.png" >&2
    failed=1
  fi
done
exit $failed
