#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the demo need, when any is missing.
# With the argument `windows`, also the MinGW-w64 cross-compiler with its zlib, zip and Wine,
# for the native Windows program and its test. With `web`, only what the browser build and its test
# need: emscripten, stb_image, dpkg-dev with a deb-src line for zlib's source (added when the
# machine has none), headless Chromium with a DevTools client, and ImageMagick for comparing
# pictures.
set -euo pipefail

packages=(
  cmake g++ make pkg-config
  libsdl2-dev libsdl2-image-dev libepoxy-dev zlib1g-dev libx11-dev libstb-dev
  libgtest-dev libbenchmark-dev
  libgl1-mesa-dri libegl1 libegl-mesa0 libgles2 mesa-utils
  xvfb xauth xdotool x11-utils x11-xkb-utils x11-xserver-utils imagemagick
)
[ "${1:-}" = windows ] && packages+=(g++-mingw-w64-x86-64 libz-mingw-w64-dev zip wine64)
if [ "${1:-}" = web ]; then
  packages=(cmake make python3 emscripten libstb-dev dpkg-dev
    chromium-headless-shell python3-websocket imagemagick)
fi

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive

# zlib's source for the browser build comes from the archive the machine installs from; a
# sources list of its own gives deb-src lines for that archive when none exists.
add_source_lines() {
  local list=/etc/apt/sources.list.d/korvane-deb-src.sources
  if [ -f /etc/apt/sources.list.d/debian.sources ]; then
    sed 's/^Types:.*/Types: deb-src/' /etc/apt/sources.list.d/debian.sources | $sudo tee "$list" >/dev/null
  else
    grep -h '^deb ' /etc/apt/sources.list /etc/apt/sources.list.d/*.list 2>/dev/null |
      sed 's/^deb /deb-src /' | $sudo tee "${list%.sources}.list" >/dev/null
  fi
}

update=false
if [ "${1:-}" = web ] && ! apt-cache showsrc zlib 2>/dev/null | grep '^Package: zlib' >/dev/null; then
  grep -rqsE '^(deb-src|Types:.*deb-src)' /etc/apt/sources.list /etc/apt/sources.list.d/ ||
    add_source_lines
  update=true
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && [ "$update" = false ] && exit 0

$sudo apt-get update -q
[ ${#missing[@]} -eq 0 ] && exit 0
echo "installing: ${missing[*]}" >&2
$sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
