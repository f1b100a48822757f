#!/usr/bin/env bash
# Starts the demo from the repository root so that the Data\... paths resolve. Without a
# display it renders a few seconds of the scene offscreen and saves the picture instead.
set -u
build=${1:-build}
cd "$(dirname "$0")/.."
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec "$build/bin/korvane"
fi
echo "no display available: rendering offscreen instead" >&2
if [ ! -x "$build/bin/kv_capture" ]; then
  echo "the offscreen capture tool is not built" >&2
  exit 1
fi
out="$PWD/korvane-offscreen.png"
SDL_VIDEODRIVER=offscreen "$build/bin/kv_capture" --frames 180 --output "$out" || exit 1
echo "picture saved to $out"
