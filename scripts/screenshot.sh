#!/bin/sh
# Remakes docs/window.png, the README's picture of the window: the demo target and source opened,
# the first source moveable on show. Run after a build (./run.sh or ./test.sh).
set -eu
cd "$(dirname "$0")/.."
mkdir -p docs
exec scripts/with-display.sh build/src/app/veltrane --screenshot docs/window.png build/demo/target.tr4 build/demo/source.wad
