#!/usr/bin/env bash
# Renders a few seconds of the scene offscreen with the capture tool (the fire, the fountain,
# the waterfall and a short walk towards the head) and writes them as a looping animated GIF
# for the README. Run from the repository root after a build:
#
#   tools/make-animation.sh BIN_DIR [OUTPUT.gif]     (default docs/scene.gif)
set -euo pipefail
bin=$1 output=${2:-docs/scene.gif}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Frames 120 to 360 at 15 pictures a second: the scene settles, stands, then walks and turns.
snapshots=()
for frame in $(seq 120 4 360); do snapshots+=(--snapshot "$frame"); done
SDL_VIDEODRIVER=offscreen "$bin/kv_capture" --frames 360 --output "$work/frame.png" \
  --hold W:190-222 --hold A:250-262 "${snapshots[@]}" >/dev/null
# 17 ms frames, 4 per picture: 7 hundredths of a second each.
convert -delay 7 -loop 0 $(ls "$work"/frame-*.png | sort -t- -k2 -n) -resize 320x240 \
  +dither -colors 128 -layers OptimizePlus "$output"
echo "$output: $(du -h "$output" | cut -f1)"
