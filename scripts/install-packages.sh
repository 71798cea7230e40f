#!/usr/bin/env bash
# Installs the Debian 12 packages Veltrane builds and tests with, if any is missing; with --windows
# also those that cross-build veltrane-cli for Windows and run it. Quiet and quick when everything is there.
set -euo pipefail

packages=(
    g++ cmake ninja-build pkg-config
    zlib1g-dev libdeflate-dev libcli11-dev nlohmann-json3-dev libgtest-dev libgmock-dev libbenchmark-dev
    qt6-base-dev libqt6opengl6-dev libglm-dev
    xvfb xauth libgl1-mesa-dri libglx-mesa0
    python3-jsonschema
    librsvg2-bin desktop-file-utils appstream libxml2-utils shared-mime-info groff-base file lintian dpkg-dev
)
if [ "${1:-}" = "--windows" ]; then
    packages+=(g++-mingw-w64-x86-64 libz-mingw-w64-dev binutils-mingw-w64-x86-64 wine64)
fi

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
as_root=()
if [ "$(id -u)" -ne 0 ]; then
    as_root=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update -qq
"${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
