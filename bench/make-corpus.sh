#!/usr/bin/env bash
# Makes the benchmark corpus: 25 large photo-like JPEGs with an Exif block, from 1080 x 1920 to
# 6000 x 4000, qualities 70 to 95, some grey, some portrait.
#
#   bench/make-corpus.sh [DIR]      (default: bench/corpus next to this script; JOBS=N to change the parallelism)
#
# The pictures are reproducible: every random step has a fixed seed and ImageMagick runs single-threaded
# here, because its noise generator hands out random numbers per thread and the split of rows between
# threads is not fixed. When the folder's manifest matches and every picture is there, nothing is done;
# an interrupted run keeps the pictures it finished and makes only the missing ones next time.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
dir=${1:-$here/corpus}
jobs=${JOBS:-$(nproc)}
convert=/usr/bin/convert

for tool in "$convert" python3; do
  if ! command -v "$tool" >/dev/null; then
    echo "make-corpus: $tool is missing (run scripts/install-deps.sh)" >&2
    exit 1
  fi
done

# index width height quality grey
pictures=$(
  cat <<'EOF'
01 6000 4000 92 0
02 6000 4000 85 0
03 4000 6000 90 0
04 6000 4000 78 1
05 5472 3648 95 0
06 3648 5472 88 0
07 5184 3456 80 0
08 4608 3456 90 0
09 4032 3024 92 0
10 4032 3024 85 0
11 3024 4032 90 0
12 3024 4032 75 1
13 4000 3000 70 0
14 3840 2160 88 0
15 2160 3840 82 0
16 3000 2000 90 1
17 2592 1944 85 0
18 2048 1536 93 0
19 1920 1080 80 0
20 1080 1920 75 0
21 1200 1800 90 0
22 1600 1200 72 1
23 1536 2048 86 0
24 2400 1600 95 0
25 1080 1920 90 0
EOF
)

picture_name() { # index width height quality grey
  local name="$1-$2x$3-q$4"
  [ "$5" = 1 ] && name+="-grey"
  echo "$name.jpg"
}

# Bump the recipe version when the way a picture is drawn changes, so old corpora are remade.
# The manifest is written before the first picture is made and pictures appear only when finished,
# so a folder whose manifest matches holds only pictures of this recipe, perhaps not all of them yet.
manifest="brindle bench corpus, recipe 1
$($convert -version | head -n 1)
$pictures"
manifest_file=$dir/.corpus-manifest

mkdir -p "$dir"
remake_all=1
if [ -f "$manifest_file" ] && [ "$(cat "$manifest_file")" = "$manifest" ]; then
  remake_all=0
  complete=1
  while read -r index width height quality grey; do
    [ -f "$dir/$(picture_name "$index" "$width" "$height" "$quality" "$grey")" ] || complete=0
  done <<<"$pictures"
  if [ "$complete" = 1 ]; then
    echo "Corpus in $dir is complete."
    exit 0
  fi
fi
# Without a matching manifest, pictures of the same names come from another recipe, another
# ImageMagick version or somewhere else, and are all made again.
printf '%s' "$manifest" >"$manifest_file"

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# The system policy keeps ImageMagick's pixel cache in memory only up to 256 MiB; a 6000 x 4000
# picture and its resize buffers need more, and a cache on disk makes such a picture ten times slower
# to make. A policy found first on MAGICK_CONFIGURE_PATH raises those limits for this script alone.
cat >"$scratch/policy.xml" <<'EOF'
<policymap>
  <policy domain="resource" name="memory" value="2GiB"/>
  <policy domain="resource" name="map" value="4GiB"/>
  <policy domain="resource" name="area" value="1GP"/>
</policymap>
EOF
export MAGICK_CONFIGURE_PATH=$scratch

# One Exif block for every picture: a little-endian TIFF header and one IFD with Make, Model,
# Orientation (1, so no tool turns the picture) and DateTime, behind the APP1 "Exif" signature.
exif=$scratch/exif.app1
python3 - "$exif" <<'EOF'
import struct
import sys


def ascii_entry(tag, text):
    data = text.encode("ascii") + b"\0"
    return tag, 2, len(data), data


entries = [
    ascii_entry(0x010F, "Brindle Bench"),
    ascii_entry(0x0110, "Corpus Camera 1"),
    (0x0112, 3, 1, struct.pack("<HH", 1, 0)),
    ascii_entry(0x0132, "2024:05:01 12:00:00"),
]
ifd_length = 2 + 12 * len(entries) + 4
data_offset = 8 + ifd_length
ifd = struct.pack("<H", len(entries))
values = b""
for tag, kind, count, data in entries:
    if len(data) <= 4:
        ifd += struct.pack("<HHI", tag, kind, count) + data.ljust(4, b"\0")
    else:
        ifd += struct.pack("<HHII", tag, kind, count, data_offset + len(values))
        values += data + b"\0" * (len(data) % 2)
ifd += struct.pack("<I", 0)
with open(sys.argv[1], "wb") as out:
    out.write(b"Exif\0\0" + b"II*\0" + struct.pack("<I", 8) + ifd + values)
EOF

# A photo-like picture: a plasma fractal with a few soft shapes at a quarter of the size, blurred,
# enlarged to half size, given sensor-like noise, and enlarged again, so it has detail at every scale
# and compresses about as well as a camera picture of the same size.
make_picture() { # index width height quality grey
  local index=$((10#$1)) width=$2 height=$3 quality=$4 grey=$5
  local name qw=$(($2 / 4)) qh=$(($3 / 4)) draw=() k
  name=$(picture_name "$@")
  local palette=("rgba(230,200,150,0.55)" "rgba(40,60,90,0.6)" "rgba(250,250,240,0.45)"
    "rgba(90,120,40,0.5)" "rgba(160,40,30,0.5)" "rgba(20,20,20,0.5)")
  for k in 1 2 3 4 5 6; do
    local cx=$(((index * 397 + k * 211) % qw)) cy=$(((index * 131 + k * 577) % qh))
    local rx=$((qw / (3 + k))) ry=$((qh / (4 + (k + index) % 5)))
    draw+=(-fill "${palette[$(((index + k) % 6))]}")
    if [ $((k % 2)) = 0 ]; then
      draw+=(-draw "rectangle $cx,$cy $((cx + rx)),$((cy + ry))")
    else
      draw+=(-draw "ellipse $cx,$cy $rx,$ry 0,360")
    fi
  done
  local colour=(-sampling-factor 2x2)
  [ "$grey" = 1 ] && colour=(-colorspace Gray)
  MAGICK_THREAD_LIMIT=1 "$convert" -seed "$index" -size "${qw}x${qh}" plasma:fractal "${draw[@]}" \
    -blur 0x1 -resize "$((width / 2))x$((height / 2))!" -attenuate 0.6 +noise Gaussian \
    -resize "${width}x${height}!" "${colour[@]}" -profile "APP1:$exif" -quality "$quality" \
    "jpeg:$scratch/$name"
  mv "$scratch/$name" "$dir/$name"
}

echo "Making the corpus in $dir ($jobs at a time) ..."
failed=0
running=0
while read -r index width height quality grey; do
  name=$(picture_name "$index" "$width" "$height" "$quality" "$grey")
  if [ "$remake_all" = 0 ] && [ -f "$dir/$name" ]; then
    continue
  fi
  make_picture "$index" "$width" "$height" "$quality" "$grey" &
  running=$((running + 1))
  if [ "$running" -ge "$jobs" ]; then
    wait -n || failed=1
    running=$((running - 1))
  fi
done <<<"$pictures"
while [ "$running" -gt 0 ]; do
  wait -n || failed=1
  running=$((running - 1))
done

if [ "$failed" = 1 ]; then
  echo "make-corpus: some pictures could not be made" >&2
  exit 1
fi
echo "Corpus in $dir is complete: $(wc -l <<<"$pictures") pictures."
