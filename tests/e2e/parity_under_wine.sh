#!/usr/bin/env bash
# The Windows build draws what the Linux build draws. velmorand-capture.exe
# under Wine (Direct3D 11, the programs as DXBC) and the Linux
# velmorand-capture (Vulkan, SPIR-V) render stills at the same times, size and
# frame rate; compare_stills holds every pair to 99 % of its pixels within
# 6/255 in each channel, and at most 16 outside in any 8x8 block, and prints
# its PSNR. Row 2100 lies in the particle
# section, so it also proves the replayed particle state. The pictures of a
# failure stay in the output folder, with a difference picture beside each.
#   parity_under_wine.sh <velmorand-capture.exe> <compare_stills.exe> <Linux velmorand-capture> <output folder>
set -uo pipefail
exe=$(realpath "$1") compare=$(realpath "$2") linux=$(realpath "$3") out=$(realpath -m "$4")
fail() { echo "FAIL: $*"; exit 1; }
[ -n "${DISPLAY:-}" ] && [ -n "${WINEPREFIX:-}" ] || fail "run me inside scripts/wine-session"
[ -x "$linux" ] || fail "no Linux capture at $linux to compare with (build the Linux tree first; scripts/test does)"

# At least one moment in every section of the music (tools/preview/transport.h).
rows=(100 200 300 500 700 900 1000 1200 1300 1450 1600 1700 1950 2100)
times=$(for r in "${rows[@]}"; do awk "BEGIN { printf \"%.5f\n\", ($r + 0.5) / 16 }"; done | paste -sd,)
size=160x90 fps=30

rm -rf "$out"
mkdir -p "$out/linux" "$out/windows"
"$linux" --size $size --fps $fps --at "$times" --out "$out/linux" >"$out/linux.log" 2>&1 ||
  { cat "$out/linux.log"; fail "the Linux capture failed"; }
WINEDEBUG=err+all wine "$exe" --size $size --fps $fps --at "$times" --out "$out/windows" >"$out/windows.log" 2>&1 ||
  { cat "$out/windows.log"; fail "velmorand-capture.exe failed"; }

# Stills are named by time; the pairs are named by row from here on.
pairs=()
i=0
for at in $(printf '%s\n' "$out"/linux/at_*.png | sort); do
  name=row_${rows[$i]}.png
  mv "$at" "$out/linux/$name"
  mv "$out/windows/$(basename "$at")" "$out/windows/$name" || fail "no Windows still for row ${rows[$i]}"
  pairs+=("linux/$name" "windows/$name")
  i=$((i + 1))
done
[ $i -eq ${#rows[@]} ] || fail "$i Linux stills for ${#rows[@]} rows"

cd "$out"
# The rule can fail: two moments of the intro are told apart.
wine "$compare" linux/row_1000.png linux/row_1300.png >/dev/null &&
  fail "compare_stills finds rows 1000 and 1300 the same picture"
rm -f linux/row_1300.png.difference.png

grep -m1 "DXVK: [0-9]" "$out/windows.log"
wine "$compare" "${pairs[@]}" || fail "the builds draw different pictures; both are kept in $out"
cd - >/dev/null
rm -rf "$out"
echo "${#rows[@]} passed, 0 failed"
