#!/bin/sh
# veltrane-cli.exe under wine64 against the Linux build's veltrane-cli on the demo pair: the same info,
# a merge of everything whose output holds the same inflated chunks and whose report is the same,
# damaged files refused with the same message, and file names beyond ASCII read and written.
#   wine_cli_test.sh WINE64 VELTRANE_CLI.exe LINUX_BUILD WORK_DIR VERSION
set -eu
wine=$1 exe=$2 linux=$3/src/cli/veltrane-cli same=$3/tests/windows/same_chunks demo=$3/demo work=$4 version=$5
rm -rf "$work/files"
mkdir -p "$work/files"
export WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
cd "$work/files"

# Runs the Windows program, its stdout in $1 without Windows' line ends; its status is the program's.
windows() {
    out=$1
    shift
    status=0
    "$wine" "$exe" "$@" >"$out.crlf" 2>"$out.errors" || status=$?
    tr -d '\r' <"$out.crlf" >"$out"
    tr -d '\r' <"$out.errors" >"$out.err"
    return $status
}
differ() {
    echo "$1" >&2
    diff "$2" "$3" >&2 || true
    exit 1
}

windows version --version
[ "$(cat version)" = "veltrane-cli $version" ] || differ "--version differs" version /dev/null

for file in target.tr4 source.wad; do
    windows info.windows info "$demo/$file"
    "$linux" info "$demo/$file" >info.linux
    cmp -s info.windows info.linux || differ "info $file differs" info.linux info.windows
done

windows merge.windows merge "$demo/target.tr4" "$demo/source.wad" -o merged-windows.tr4 --all --json
"$linux" merge "$demo/target.tr4" "$demo/source.wad" -o merged-linux.tr4 --all --json >merge.linux
sed 's/merged-windows/merged-linux/' merge.windows | cmp -s - merge.linux || differ "merge --json differs" merge.linux merge.windows
"$same" merged-windows.tr4 merged-linux.tr4

# A level cut short and a library with a byte changed in its header are refused alike, status 1.
head -c 40000 "$demo/target.tr4" >cut.tr4
{ printf '\201\000\000\000\377\377\377\177'; tail -c +9 "$demo/source.wad"; } >broken.wad
for args in "info cut.tr4" "info broken.wad" "merge cut.tr4 $demo/source.wad -o never.tr4 --all" \
    "merge $demo/target.tr4 broken.wad -o never.tr4 --all" "merge $demo/target.tr4 $demo/source.wad -o never.tr4 --moveable x"; do
    linuxStatus=0
    # shellcheck disable=SC2086 # the arguments are words
    "$linux" $args >/dev/null 2>refused.linux || linuxStatus=$?
    windowsStatus=0
    # shellcheck disable=SC2086
    windows refused $args || windowsStatus=$?
    [ "$linuxStatus" != 0 ] && [ "$windowsStatus" = "$linuxStatus" ] ||
        differ "$args: status $windowsStatus on Windows, $linuxStatus on Linux" refused.linux refused.err
    cmp -s refused.err refused.linux || differ "$args: the message differs" refused.linux refused.err
    [ ! -e never.tr4 ] || differ "$args wrote its output" /dev/null /dev/null
done

# Names are UTF-8 on the command line and wide on Windows.
cp "$demo/target.tr4" "nivel-ñ.tr4"
windows info.unicode info "nivel-ñ.tr4"
grep -qx "file: nivel-ñ.tr4" info.unicode || differ "the name came back changed" /dev/null info.unicode
windows merge.unicode merge "nivel-ñ.tr4" "$demo/source.wad" -o "fusión-ü.tr4" --moveable 170
"$same" "fusión-ü.tr4" merged-linux.tr4 2>/dev/null && differ "one moveable merged as much as all" /dev/null /dev/null
"$linux" info "fusión-ü.tr4" | grep -q "ObjectId=170 .*MOVING_BLADE"
