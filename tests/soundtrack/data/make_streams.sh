#!/usr/bin/env bash
# Regenerates the small MPEG streams the decoding tests read. Needs sox and
# lame (the [tools] group of scripts/packages.txt). The tests derive what they
# expect from the encoding parameters below, not from these files' contents.
set -euo pipefail
cd "$(dirname "$0")"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# One second of a 1 kHz sine at half scale, mono, 32 kHz, 64 kbit/s, no
# encoder tag: at 32 kHz every frame is exactly 288 bytes, so the frame count
# is the file size / 288.
sox -n -r 32000 -c 1 -b 16 "$tmp/mono.wav" synth 1.0 sine 1000 vol 0.5
lame --quiet -t -b 64 --cbr -m m "$tmp/mono.wav" mono_32k_untagged.mp3

# Half a second (22,050 frames) of stereo at 44.1 kHz with the encoder's tag,
# which records the delay and padding that decoding must trim.
sox -n -r 44100 -c 2 -b 16 "$tmp/stereo.wav" synth 0.5 sine 440 sine 550 vol 0.5
lame --quiet -b 128 --cbr "$tmp/stereo.wav" stereo_44k_tagged.mp3
