#!/usr/bin/env bash
# Makes one photo-like JPEG (quality 92) drawn the way bench/make-corpus.sh draws its pictures
# (plasma fractal, soft shapes, blur, sensor-like noise): 5120 x 2880 for the slice benchmark, or the
# size given (the preview benchmark's 6000 x 4000).
#
#   bench/make-slice-picture.sh [DIR [WIDTH HEIGHT]]   (default: bench/slice-corpus, 5120 x 2880)
#
# Reproducible: a fixed seed and ImageMagick single-threaded (its noise generator hands out random
# numbers per thread). When the folder's manifest matches and the picture is there, nothing is done.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
dir=${1:-$here/slice-corpus}
convert=/usr/bin/convert
width=${2:-5120}
height=${3:-2880}
quality=92
name=photo-${width}x${height}.jpg

if ! command -v "$convert" >/dev/null; then
  echo "make-slice-picture: $convert is missing (run scripts/install-deps.sh)" >&2
  exit 1
fi

manifest="brindle bench picture, recipe 1
$($convert -version | head -n 1)
$name $quality"
manifest_file=$dir/.corpus-manifest
mkdir -p "$dir"
if [ -f "$manifest_file" ] && [ "$(cat "$manifest_file")" = "$manifest" ] && [ -f "$dir/$name" ]; then
  echo "Picture $dir/$name is there."
  exit 0
fi
printf '%s' "$manifest" >"$manifest_file"

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
# The system policy's 256 MiB memory limit would push the drawing onto a disk cache.
cat >"$scratch/policy.xml" <<'POLICY'
<policymap>
  <policy domain="resource" name="memory" value="2GiB"/>
  <policy domain="resource" name="map" value="4GiB"/>
  <policy domain="resource" name="area" value="1GP"/>
</policymap>
POLICY
export MAGICK_CONFIGURE_PATH=$scratch

qw=$((width / 4))
qh=$((height / 4))
echo "Making $dir/$name ..."
MAGICK_THREAD_LIMIT=1 "$convert" -seed 5120 -size "${qw}x${qh}" plasma:fractal \
  -fill "rgba(230,200,150,0.55)" -draw "ellipse $((qw / 3)),$((qh / 2)) $((qw / 5)),$((qh / 4)) 0,360" \
  -fill "rgba(40,60,90,0.6)" -draw "rectangle $((qw / 2)),$((qh / 5)) $((qw * 4 / 5)),$((qh * 3 / 5))" \
  -fill "rgba(250,250,240,0.45)" -draw "ellipse $((qw * 3 / 4)),$((qh * 3 / 4)) $((qw / 8)),$((qh / 7)) 0,360" \
  -blur 0x1 -resize "$((width / 2))x$((height / 2))!" -attenuate 0.6 +noise Gaussian \
  -resize "${width}x${height}!" -sampling-factor 2x2 -quality "$quality" "jpeg:$scratch/$name"
mv "$scratch/$name" "$dir/$name"
echo "Picture $dir/$name is made."
