#!/bin/sh
# cpack -G DEB makes a package that lintian finds no error in, whose dependencies dpkg-shlibdeps
# found, and whose veltrane-cli runs from where dpkg-deb unpacks it.
#   deb_package_test.sh BUILD_DIR WORK_DIR DEMO_TARGET VERSION
set -eu
build=$1 work=$2 demo=$3 version=$4
rm -rf "$work"
mkdir -p "$work"
cd "$work"
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work" >cpack.log 2>&1 || { cat cpack.log >&2; exit 1; }
deb=$work/veltrane_${version}_$(dpkg --print-architecture).deb

# The libraries both programs link, each as the Debian 12 package that holds it.
depends=$(dpkg-deb -f "$deb" Depends)
for package in libc6 libstdc++6 libdeflate0 libqt6core6 libqt6gui6 libqt6widgets6 libqt6openglwidgets6; do
    echo "$depends" | grep -q "\\b$package (>= " || { echo "Depends lacks $package: $depends" >&2; exit 1; }
done

dpkg-deb -x "$deb" root
[ "$(root/usr/bin/veltrane-cli --version)" = "veltrane-cli $version" ]
# The window answers --version on a terminal without a display.
[ "$(env -u DISPLAY -u WAYLAND_DISPLAY root/usr/bin/veltrane --version)" = "veltrane $version" ]
root/usr/bin/veltrane-cli info "$demo" >info.txt
grep -qx "kind: level" info.txt
grep -q "^moveable 0: ObjectId=0 MeshCount=[0-9]* Animation=0 Name=LARA$" info.txt

lintian --fail-on error "$deb" >lintian.log 2>&1 ||
    { cat lintian.log >&2; exit 1; }
