#!/bin/sh
# An install into an empty prefix holds the two programs and the desktop files where desktops look for
# them, each file passes its validator, and the manual pages render cleanly and name every option the
# programs' --help lists.
#   install_tree_test.sh BUILD_DIR WORK_DIR APP_ID MIME_SCHEMA
set -eu
build=$1 root=$2/root id=$3 schema=$4
rm -rf "$root"
cmake --install "$build" --prefix "$root" >/dev/null

expected="bin/veltrane
bin/veltrane-cli
share/applications/$id.desktop
share/doc/veltrane/README.md
share/doc/veltrane/changelog.gz
share/doc/veltrane/command-line.md
share/doc/veltrane/copyright
share/doc/veltrane/info.schema.json
share/doc/veltrane/merge.schema.json
share/icons/hicolor/scalable/apps/$id.svg
share/man/man1/veltrane-cli.1.gz
share/man/man1/veltrane.1.gz
share/metainfo/$id.metainfo.xml
share/mime/packages/$id.xml"
for size in 16 22 24 32 48 64 128 256 512; do
    expected="$expected
share/icons/hicolor/${size}x$size/apps/$id.png"
    file "$root/share/icons/hicolor/${size}x$size/apps/$id.png" | grep -q "PNG image data, $size x $size,"
done
actual=$(cd "$root" && find . -type f | sed 's|^\./||' | LC_ALL=C sort)
if [ "$actual" != "$(echo "$expected" | LC_ALL=C sort)" ]; then
    echo "the install tree differs from the expected one:" >&2
    echo "$expected" | LC_ALL=C sort | diff - "$(printf '%s\n' "$actual" >"$2/actual" && echo "$2/actual")" >&2
    exit 1
fi

desktop-file-validate "$root/share/applications/$id.desktop"
grep -qx "Icon=$id" "$root/share/applications/$id.desktop"
appstreamcli validate --no-net "$root/share/metainfo/$id.metainfo.xml" >/dev/null
xmllint --noout --schema "$schema" "$root/share/mime/packages/$id.xml" 2>"$2/xmllint.log" || { cat "$2/xmllint.log" >&2; exit 1; }
update-mime-database "$root/share/mime" >"$2/mime.log" 2>&1 || { cat "$2/mime.log" >&2; exit 1; }
for type in x-tr4-level x-tr4-object-library; do
    grep -q "application/$type" "$root/share/mime/types"
    grep -q "application/$type;" "$root/share/applications/$id.desktop"
done

for program in veltrane veltrane-cli; do
    page=$(zcat "$root/share/man/man1/$program.1.gz" | groff -man -ww -Tascii -P-cbou -rHY=0 -rLL=300n 2>"$2/groff-warnings")
    [ ! -s "$2/groff-warnings" ] || { cat "$2/groff-warnings" >&2; exit 1; }
    case $program in
    veltrane) help=$(QT_QPA_PLATFORM=offscreen "$root/bin/veltrane" --help 2>/dev/null) ;;
    veltrane-cli) help=$("$root/bin/veltrane-cli" --help; "$root/bin/veltrane-cli" info --help;
                         "$root/bin/veltrane-cli" merge --help) ;;
    esac
    for option in $(echo "$help" | grep -o -- '--[a-z][a-z-]*' | sort -u); do
        echo "$page" | grep -q -- "$option" || { echo "man $program does not name $option" >&2; exit 1; }
    done
done
