#!/usr/bin/env bash
# Installs the Debian 12 packages Pelmora needs, skipping those already there.
#   scripts/install-deps.sh run    what building and running the viewer needs
#   scripts/install-deps.sh test   that, plus the test and benchmark tools
set -euo pipefail

run_packages=(
  build-essential cmake pkg-config
  libgl-dev libglu1-mesa-dev libegl-dev libgl1-mesa-dri libegl-mesa0 libglx-mesa0
  freeglut3-dev libjpeg62-turbo-dev libpng-dev zlib1g-dev libdeflate-dev libgdk-pixbuf-2.0-dev
  libwxgtk3.2-dev libx11-dev libcli11-dev libtinygltf-dev xvfb xauth
)
test_packages=(
  libgtest-dev libgmock-dev libbenchmark-dev libassimp-dev
  xdotool imagemagick x11-apps x11-utils openbox weston xwayland
  desktop-file-utils shared-mime-info dpkg-dev appstream
  clang libclang-rt-14-dev
)

packages=("${run_packages[@]}")
if [ "${1:-run}" = "test" ]; then
  packages+=("${test_packages[@]}")
  # Node.js and npm run the glTF validator; a Node.js installed from
  # elsewhere brings its own npm (and conflicts with Debian's package).
  if ! command -v node >/dev/null || ! command -v npm >/dev/null; then
    packages+=(nodejs npm)
  fi
fi

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q
  apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
