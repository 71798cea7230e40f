#!/bin/sh
# Remakes docs/window.png and docs/window-posed.png, the README's pictures of the window: the demo
# target and source opened, the first source moveable (the jointed walker) on show, at rest and
# posed mid-walk; and docs/window-large.png, the large demo pair in a 1400x1000 window with a filter
# typed over the source moveables. Run after a build (./run.sh or ./test.sh). The window's scratch
# files land in build/, where it runs.
set -eu
cd "$(dirname "$0")/.."
mkdir -p docs
root=$(pwd)
cmake --build build --target demo-large >/dev/null
cd build
"$root/scripts/with-display.sh" src/app/veltrane --screenshot "$root/docs/window.png" demo/target.tr4 demo/source.wad
"$root/scripts/with-display.sh" src/app/veltrane --screenshot "$root/docs/window-posed.png" --pose 1:6 \
    demo/target.tr4 demo/source.wad
"$root/scripts/with-display.sh" src/app/veltrane --screenshot "$root/docs/window-large.png" --size 1400x1000 \
    --filter smash demo/target-large.tr4 demo/source-large.wad
