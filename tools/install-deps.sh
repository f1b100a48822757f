#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the demo need, when any is missing.
# With the argument `windows`, also the MinGW-w64 cross-compiler, zip and Wine, for the
# native Windows program and its test.
set -euo pipefail

packages=(
  cmake g++ make pkg-config
  libsdl2-dev libsdl2-image-dev libepoxy-dev zlib1g-dev libx11-dev libstb-dev
  libgtest-dev libbenchmark-dev
  libgl1-mesa-dri libegl1 libegl-mesa0 mesa-utils
  xvfb xauth xdotool x11-utils x11-xkb-utils x11-xserver-utils imagemagick
)
[ "${1:-}" = windows ] && packages+=(g++-mingw-w64-x86-64 zip wine64)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "installing: ${missing[*]}" >&2
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q
$sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
