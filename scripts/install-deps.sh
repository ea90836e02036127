#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the tests and the demo need, when any is missing.
# With `--arch arm64`: what cross-building for that processor needs on top: the cross compiler, qemu's
# user-mode emulator and the libraries the programs link, for that processor, installed beside the
# machine's own (what scripts/test-arm64.sh builds with).
set -euo pipefail

# What the programs and the test suites link: installed for each processor they are built for.
libraries=(
    qt6-base-dev libgl-dev libx11-dev libxss-dev libxcb1-dev libcurl4-openssl-dev libhwy-dev libsodium-dev
    libgtest-dev libgmock-dev
)

packages=(
    build-essential cmake ninja-build pkg-config clang-format universal-ctags
    "${libraries[@]}" qt6-image-formats-plugins libxcb-damage0-dev minisign
    googletest libbenchmark-dev
    python3 python3-pyftpdlib curl ccache nginx-light
    xvfb xauth openbox icewm imagemagick x11-utils xdotool
    fonts-wine fonts-liberation2 fonts-dejavu-core
)

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive

if [ "${1:-}" = "--arch" ]; then
    arch="$2"
    packages=("crossbuild-essential-$arch" qemu-user-static file "${libraries[@]/%/:$arch}")
    # A newly added processor's package lists are only there after an update.
    if ! dpkg --print-foreign-architectures | grep -qx "$arch"; then
        $sudo dpkg --add-architecture "$arch"
        $sudo apt-get update -qq
    fi
fi

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
