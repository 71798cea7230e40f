#!/usr/bin/env bash
# Installs what is missing, builds with warnings as errors and runs every test.
#   ./test.sh              the plain build, in build/
#   ./test.sh --sanitize   everything built with AddressSanitizer, UndefinedBehaviorSanitizer and leak
#                          detection, in build-sanitize/; any report fails the run
#   ./test.sh --windows    the core and veltrane-cli cross-built for Windows in build-windows/, the
#                          program run under wine64 against the Linux build's in build/
set -euo pipefail
cd "$(dirname "$0")"

build=build
options=()
case "${1:-}" in
"")
    scripts/install-packages.sh
    ;;
--sanitize)
    scripts/install-packages.sh
    build=build-sanitize
    options=(-DVELTRANE_SANITIZE=ON -DVELTRANE_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug)
    # Set before the build too: listing the tests runs the test programs.
    export ASAN_OPTIONS=halt_on_error=1:detect_leaks=1:detect_stack_use_after_return=1
    export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
    # Only leaks inside the system's graphics and font libraries are suppressed, never Veltrane's own.
    export LSAN_OPTIONS=suppressions=$PWD/scripts/lsan-suppressions.txt:print_suppressions=0
    ;;
--windows)
    scripts/install-packages.sh --windows
    # What the Windows program is compared with: the Linux one, its demo files and same_chunks.
    cmake -S . -B build -G Ninja -DVELTRANE_WERROR=ON >/dev/null
    cmake --build build --target veltrane-cli demo same_chunks
    build=build-windows
    options=(-DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DVELTRANE_LINUX_BUILD="$PWD/build")
    ;;
*)
    echo "usage: $0 [--sanitize | --windows]" >&2
    exit 2
    ;;
esac
cmake -S . -B "$build" -G Ninja -DVELTRANE_WERROR=ON "${options[@]}" >/dev/null
cmake --build "$build"
ctest --test-dir "$build" --output-on-failure -j2
