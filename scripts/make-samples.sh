#!/usr/bin/env bash
# Makes the sample pictures that `make run` processes: photo-like JPEGs (one portrait, one grey),
# a PNG with transparency, a still GIF, a BMP and a two-page TIFF. Reproducible (fixed seeds);
# made once, into the folder given.
set -euo pipefail
out=${1:?usage: make-samples.sh FOLDER}
[ -f "$out/.complete" ] && exit 0
mkdir -p "$out"
im=/usr/bin/convert

"$im" -seed 11 -size 1600x1067 plasma:tan-steelblue -blur 0x1 -quality 90 "$out/风景 landscape.jpg"
"$im" -seed 12 -size 1080x1440 plasma:green-yellow -quality 88 "$out/portrait.jpg"
"$im" -seed 13 -size 1200x800 plasma:grey40-white -colorspace Gray -quality 85 "$out/grey.jpg"
"$im" -size 640x480 gradient:orange-purple \
  \( -size 640x480 radial-gradient:white-none \) -compose CopyOpacity -composite "$out/transparent.png"
"$im" -seed 14 -size 400x300 plasma:red-blue -colors 64 "$out/still.gif"
"$im" -seed 15 -size 500x375 plasma:pink-navy -type TrueColor "BMP3:$out/picture.bmp"
"$im" -seed 16 -size 800x600 plasma:olive-white -seed 17 -size 400x300 plasma:maroon-cyan \
  -compress LZW "$out/two-pages.tif"
touch "$out/.complete"
echo "Sample pictures: $out"
