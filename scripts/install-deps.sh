#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the tests and the demo need, when any is missing.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config clang-format
    qt6-base-dev qt6-image-formats-plugins libgl-dev libx11-dev libxss-dev
    libcurl4-openssl-dev libxcb-damage0-dev libhwy-dev
    libgtest-dev libgmock-dev googletest libbenchmark-dev
    python3 python3-pyftpdlib curl ccache
    xvfb xauth openbox imagemagick x11-utils xdotool
    fonts-wine fonts-liberation2 fonts-dejavu-core
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
