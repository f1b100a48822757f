#!/usr/bin/env bash
# Frame time of the whole scene, uncapped, on an offscreen OpenGL context: median and 95th
# percentile over the frames, and the time from start to the first presented frame.
# Usage: bench/frame_timing.sh [build folder] [frames]
set -euo pipefail
build=${1:-build}
frames=${2:-600}
cd "$(dirname "$0")/.."
for run in 1 2 3; do
  SDL_VIDEODRIVER=offscreen "$build/bin/kv_capture" --frames "$frames" --timing
done
