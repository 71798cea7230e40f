#!/usr/bin/env bash
# Installs what is missing, builds, and opens the window on the bundled demo target and source.
set -euo pipefail
cd "$(dirname "$0")"

scripts/install-packages.sh
cmake -S . -B build -G Ninja >/dev/null
cmake --build build
exec build/src/app/veltrane build/demo/target.tr4 build/demo/source.wad
