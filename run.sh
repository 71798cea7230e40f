#!/usr/bin/env bash
# Installs what is missing, builds, and opens the window on the bundled demo target and source.
set -euo pipefail
cd "$(dirname "$0")"

scripts/install-packages.sh
cmake -S . -B build -G Ninja >/dev/null
cmake --build build
# The window leaves its scratch files in its working directory: build/, out of the sources' way.
cd build
exec src/app/veltrane demo/target.tr4 demo/source.wad
