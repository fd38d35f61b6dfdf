#!/bin/sh
# Makes the spoken prompts of voice navigation (data/Call.wav, Grid.wav, Dupe.wav, NavEn.wav,
# NavDis.wav) with espeak-ng, then sox: 11025 Hz, mono, 16-bit PCM, each well under 100 kB.
# Run once from the repository root; the results are committed.
set -eu
out=${1:-data}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
say() {
    espeak-ng -v en-us -s 150 -w "$tmp/$1.raw.wav" "$2"
    sox "$tmp/$1.raw.wav" -r 11025 -c 1 -b 16 -e signed-integer "$out/$1.wav" silence 1 0.02 0.5% reverse silence 1 0.02 0.5% reverse
}
say Call "Call sign."
say Grid "Grid square."
say Dupe "Duplicate contact."
say NavEn "Voice navigation on."
say NavDis "Voice navigation off."
ls -l "$out"/Call.wav "$out"/Grid.wav "$out"/Dupe.wav "$out"/NavEn.wav "$out"/NavDis.wav
