#!/bin/sh
# The .exe is linked statically: the only DLLs it imports are those every Windows has.
#   system_dlls_test.sh OBJDUMP PROGRAM.exe
set -eu
dlls=$("$1" -p "$2" | sed -n 's/^\tDLL Name: //p' | tr 'A-Z' 'a-z' | sort -u)
[ -n "$dlls" ] || { echo "no imports found in $2" >&2; exit 1; }
for dll in $dlls; do
    case $dll in
    kernel32.dll | msvcrt.dll | shell32.dll | user32.dll | advapi32.dll | ws2_32.dll | api-ms-win-*) ;;
    *) echo "$2 needs $dll, which Windows does not have" >&2; exit 1 ;;
    esac
done
