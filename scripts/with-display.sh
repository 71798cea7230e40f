#!/bin/sh
# Runs a program (a test, a benchmark) on its own virtual display with OpenGL (Mesa). One at a
# time: parallel xvfb-run calls can race for the same display number.
exec flock /tmp/veltrane-xvfb.lock xvfb-run -a -s "-screen 0 1280x1024x24" "$@"
