#!/usr/bin/env bash
# Makes the PNG benchmark corpus: 8 large PNGs from 3840 x 2160 to 7680 x 4320, photo-like and flat
# artwork, three of them with transparency.
#
#   bench/make-png-corpus.sh [DIR]      (default: bench/png-corpus next to this script; JOBS=N to change the parallelism)
#
# The pictures are reproducible: every random step has a fixed seed and ImageMagick runs single-threaded
# here. When the folder's manifest matches and every picture is there, nothing is done; an interrupted
# run keeps the pictures it finished and makes only the missing ones next time.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
dir=${1:-$here/png-corpus}
jobs=${JOBS:-$(nproc)}
convert=/usr/bin/convert

if ! command -v "$convert" >/dev/null; then
  echo "make-png-corpus: $convert is missing (run scripts/install-deps.sh)" >&2
  exit 1
fi

# index kind width height alpha
pictures=$(
  cat <<'EOF'
01 photo 3840 2160 0
02 photo 4000 3000 0
03 photo 3840 2160 1
04 photo 5120 2880 0
05 flat 3840 2160 0
06 flat 4096 4096 1
07 flat 7680 4320 0
08 flat 3840 2160 1
EOF
)

picture_name() { # index kind width height alpha
  local name="$1-$2-$3x$4"
  [ "$5" = 1 ] && name+="-alpha"
  echo "$name.png"
}

# Bump the recipe version when the way a picture is drawn changes, so old corpora are remade.
manifest="brindle PNG bench corpus, recipe 2
$($convert -version | head -n 1)
$pictures"
manifest_file=$dir/.corpus-manifest

mkdir -p "$dir"
remake_all=1
if [ -f "$manifest_file" ] && [ "$(cat "$manifest_file")" = "$manifest" ]; then
  remake_all=0
  complete=1
  while read -r index kind width height alpha; do
    [ -f "$dir/$(picture_name "$index" "$kind" "$width" "$height" "$alpha")" ] || complete=0
  done <<<"$pictures"
  if [ "$complete" = 1 ]; then
    echo "PNG corpus in $dir is complete."
    exit 0
  fi
fi
printf '%s' "$manifest" >"$manifest_file"

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# The system policy keeps ImageMagick's pixel cache in memory only up to 256 MiB; the largest
# pictures need more, and a cache on disk makes them ten times slower to make.
cat >"$scratch/policy.xml" <<'EOF'
<policymap>
  <policy domain="resource" name="memory" value="2GiB"/>
  <policy domain="resource" name="map" value="4GiB"/>
  <policy domain="resource" name="area" value="1GP"/>
</policymap>
EOF
export MAGICK_CONFIGURE_PATH=$scratch

# A photo-like picture: a plasma fractal with a few soft shapes at a quarter of the size, blurred,
# enlarged to half size, given sensor-like noise and enlarged again (as in make-corpus.sh). With
# alpha, a cut-out: a soft-edged ellipse in the middle stays, the rest becomes transparent; without,
# the file has no alpha channel at all.
make_photo() { # index width height alpha output
  local index=$((10#$1)) width=$2 height=$3 alpha=$4 output=$5
  local qw=$((width / 4)) qh=$((height / 4)) draw=() k
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
  local cut=(-alpha off)
  if [ "$alpha" = 1 ]; then
    cut=('(' -size "${width}x${height}" xc:black -fill white
      -draw "ellipse $((width / 2)),$((height / 2)) $((width * 2 / 5)),$((height * 2 / 5)) 0,360"
      -blur 0x24 ')' -alpha off -compose CopyOpacity -composite)
  fi
  MAGICK_THREAD_LIMIT=1 "$convert" -seed "$index" -size "${qw}x${qh}" plasma:fractal "${draw[@]}" \
    -blur 0x1 -resize "$((width / 2))x$((height / 2))!" -attenuate 0.6 +noise Gaussian \
    -resize "${width}x${height}!" "${cut[@]}" -depth 8 "png:$output"
}

# Flat artwork: a plain or gradient background with solid shapes, outlines and thin lines, all
# anti-aliased, like a poster, a screenshot or a logo sheet. With alpha, the background is
# transparent and the shapes carry a soft half-transparent shadow.
make_flat() { # index width height alpha output
  local index=$((10#$1)) width=$2 height=$3 alpha=$4 output=$5
  local colours=("#1e3c72" "#e94e1b" "#f6c700" "#2a9d8f" "#264653" "#e76f51" "#8ab17d" "#ffffff")
  local shapes=() k
  for k in $(seq 1 24); do
    local x=$(((index * 733 + k * 1289) % width)) y=$(((index * 419 + k * 877) % height))
    local s=$((width / (8 + k % 7)))
    shapes+=(-fill "${colours[$(((index + k) % 8))]}" -stroke "${colours[$(((index + k + 3) % 8))]}"
      -strokewidth $((2 + k % 5)))
    case $((k % 4)) in
      0) shapes+=(-draw "roundrectangle $x,$y $((x + s)),$((y + s / 2)) $((s / 10)),$((s / 10))") ;;
      1) shapes+=(-draw "circle $x,$y $((x + s / 3)),$y") ;;
      2) shapes+=(-draw "polygon $x,$y $((x + s)),$((y + s / 4)) $((x + s / 3)),$((y + s))") ;;
      3) shapes+=(-draw "line $x,$y $((x + s * 2)),$((y + s / 3))") ;;
    esac
  done
  if [ "$alpha" = 1 ]; then
    MAGICK_THREAD_LIMIT=1 "$convert" -size "${width}x${height}" xc:none \
      '(' -size "${width}x${height}" xc:none -fill "rgba(0,0,0,0.45)" -stroke none \
      -draw "roundrectangle $((width / 8)),$((height / 8)) $((width * 7 / 8)),$((height * 7 / 8)) 60,60" \
      -blur 0x18 ')' -composite "${shapes[@]}" -depth 8 "png:$output"
  else
    MAGICK_THREAD_LIMIT=1 "$convert" -size "${width}x${height}" \
      "gradient:${colours[$((index % 8))]}-#f4f1ea" "${shapes[@]}" -alpha off -depth 8 "png:$output"
  fi
}

make_picture() { # index kind width height alpha
  local name
  name=$(picture_name "$@")
  if [ "$2" = photo ]; then
    make_photo "$1" "$3" "$4" "$5" "$scratch/$name"
  else
    make_flat "$1" "$3" "$4" "$5" "$scratch/$name"
  fi
  mv "$scratch/$name" "$dir/$name"
}

echo "Making the PNG corpus in $dir ($jobs at a time) ..."
failed=0
running=0
while read -r index kind width height alpha; do
  name=$(picture_name "$index" "$kind" "$width" "$height" "$alpha")
  if [ "$remake_all" = 0 ] && [ -f "$dir/$name" ]; then
    continue
  fi
  make_picture "$index" "$kind" "$width" "$height" "$alpha" &
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
  echo "make-png-corpus: some pictures could not be made" >&2
  exit 1
fi
echo "PNG corpus in $dir is complete: $(wc -l <<<"$pictures") pictures."
