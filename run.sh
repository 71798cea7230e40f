#!/usr/bin/env bash
# Installs what is missing, builds, and shows the bundled demo target and source.
set -euo pipefail
cd "$(dirname "$0")"

scripts/install-packages.sh
cmake -S . -B build -G Ninja >/dev/null
cmake --build build
build/src/cli/veltrane-cli info build/demo/target.tr4
echo
build/src/cli/veltrane-cli info build/demo/source.wad
