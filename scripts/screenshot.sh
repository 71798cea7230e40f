#!/bin/sh
# Remakes docs/window.png, the README's picture of the window: the demo target and source opened,
# the first source moveable on show. Run after a build (./run.sh or ./test.sh). The window's scratch
# files land in build/, where it runs.
set -eu
cd "$(dirname "$0")/.."
mkdir -p docs
root=$(pwd)
cd build
exec "$root/scripts/with-display.sh" src/app/veltrane --screenshot "$root/docs/window.png" demo/target.tr4 demo/source.wad
