#!/usr/bin/env bash
# Configures and builds everything into build/ (both programs land in build/bin/).
# ccache, when installed, keeps rebuilds of unchanged files cheap. LANTERNA_WERROR=1 (as CI sets it)
# makes a compiler warning fail the build.
set -euo pipefail
cd "$(dirname "$0")/.."
options=(-DLANTERNA_WERROR="${LANTERNA_WERROR:-0}")
command -v ccache >/dev/null && options+=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${options[@]}" >/dev/null
cmake --build build --parallel "$(nproc)"
