#!/usr/bin/env bash
# Installs what is missing, builds, lays out a demo program folder and runs the player on it.
# With a display the player runs until it is closed; without one it runs under Xvfb for about
# 20 seconds and leaves screenshots in build/demo/screenshots/.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
scripts/build.sh
exec scripts/run-demo.sh "$@"
