#!/usr/bin/env bash
# Installs the Debian packages that building, playing and testing need.
# Safe to run again: only packages that are missing are installed.
set -euo pipefail

packages=(
  cmake g++ make pkg-config
  clang libclang-rt-14-dev
  libsdl2-dev libpng-dev zlib1g-dev
  unifont
  libcli11-dev libtomlplusplus-dev libpng-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth xdotool tmux xterm
  scdoc desktop-file-utils appstream man-db
  emscripten binaryen nodejs chromium python3 python3-websocket
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
  sudo="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
