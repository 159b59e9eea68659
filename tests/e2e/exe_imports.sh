#!/usr/bin/env bash
# The Windows executable must import only DLLs that every Windows 10 and 11
# has: no MinGW runtime (libstdc++, libgcc, libwinpthread), nothing of ours.
#   exe_imports.sh <velmorand.exe> <assets folder>
set -uo pipefail
allowed='^(kernel32|user32|gdi32|winmm|d3d11|dxgi|shlwapi|advapi32|msvcrt|ole32|shell32|api-ms-win-crt-[a-z0-9-]+|ucrtbase)\.dll$'
dlls=$(x86_64-w64-mingw32-objdump -p "$1" | awk '/DLL Name:/ { print tolower($3) }' | sort -u)
[ -n "$dlls" ] || { echo "FAIL: no imports read from $1"; exit 1; }
echo "imports:" $dlls
bad=$(echo "$dlls" | grep -v -E "$allowed")
[ -z "$bad" ] || { echo "FAIL: imports beyond the system's DLLs:" $bad; exit 1; }
# Every asset is inside: the exe is larger than the images and the soundtrack.
size=$(stat -c %s "$1")
assets=$(cat "$2"/*.png "$2"/soundtrack.mp3 | wc -c)
echo "exe: $size bytes; assets: $assets bytes"
[ "$size" -gt "$assets" ] || { echo "FAIL: the exe is too small to hold the assets"; exit 1; }
echo "1 passed, 0 failed"
