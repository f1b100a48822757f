#!/usr/bin/env bash
# Frame time of the whole scene, uncapped, on an offscreen OpenGL context: median and 95th
# percentile over the frames, and the time from start to the first presented frame. Three runs
# as a user's later starts see it (llvmpipe's compiled shaders come from Mesa's shader cache),
# then one as the very first start on a machine sees it (every shader compiled anew).
# Usage: bench/frame_timing.sh [build folder] [frames]
set -euo pipefail
build=${1:-build}
frames=${2:-600}
cd "$(dirname "$0")/.."
for run in 1 2 3; do
  SDL_VIDEODRIVER=offscreen "$build/bin/kv_capture" --frames "$frames" --timing
done
echo "without the shader cache:"
MESA_SHADER_CACHE_DISABLE=true SDL_VIDEODRIVER=offscreen "$build/bin/kv_capture" --frames "$frames" --timing
