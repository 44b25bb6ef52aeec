#!/usr/bin/env bash
# Fetches real photographs for the main batch benchmark: the photographic wallpapers of KDE Plasma
# and MATE, taken from the Debian packages plasma-workspace-wallpapers and mate-backgrounds (about
# 110 MB to download).
#
#   bench/get-photos.sh [DIR]      (default: bench/photos next to this script)
#
# Does nothing when DIR already holds JPEGs. Otherwise the packages are downloaded with apt-get
# download into a temporary folder and unpacked with dpkg-deb; the largest JPEG of each photographic
# KDE wallpaper is copied into DIR as <Wallpaper>.jpg, and MATE's nature photographs as they are
# named; the temporary folder is removed afterwards.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
dir=${1:-$here/photos}
package=plasma-workspace-wallpapers
mate_package=mate-backgrounds

# The wallpapers that are photographs, each checked by eye. Left out: Autumn (a painting) and the
# drawn ones (Flow, Honeywave, PastelHills, SafeLanding, Shell, Volna and the PNG-only wallpapers).
# Between them: 4:4:4, 4:2:2 and 4:2:0 chroma, two progressive, one grey, four with an ICC profile,
# qualities 70 to 90.
photos=(BytheWater ColdRipple ColorfulCups DarkestHour EveningGlow FallenLeaf Grey Kite OneStandsOut
  Path summer_1am)
# MATE's nature folder holds only photographs (1280 x 1024 to 2560 x 1920, qualities 75 to 100).
mate_photos=usr/share/backgrounds/mate/nature

if [ -d "$dir" ] && [ -n "$(find "$dir" -maxdepth 1 -type f \( -iname '*.jpg' -o -iname '*.jpeg' \) -print -quit)" ]; then
  echo "Photos in $dir: $(find "$dir" -maxdepth 1 -type f \( -iname '*.jpg' -o -iname '*.jpeg' \) | wc -l) JPEGs already there."
  exit 0
fi

for tool in apt-get dpkg-deb identify; do
  if ! command -v "$tool" >/dev/null; then
    echo "get-photos: $tool is missing (run scripts/install-deps.sh)" >&2
    exit 1
  fi
done

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

echo "Downloading the Debian packages $package and $mate_package ..."
# apt-get download writes into the current folder.
if ! (cd "$scratch" && apt-get download -q "$package" "$mate_package"); then
  echo "get-photos: apt-get download $package $mate_package failed (no network, or the package" \
    "lists need \`apt-get update\`)" >&2
  exit 1
fi
dpkg-deb -x "$scratch"/"$package"_*.deb "$scratch/root"
dpkg-deb -x "$scratch"/"$mate_package"_*.deb "$scratch/root"

# Every photo is put together in the scratch folder first, so DIR gets JPEGs only once all are there:
# a DIR with JPEGs in it counts as done next time.
mkdir -p "$scratch/photos"
found=0
for name in "${photos[@]}"; do
  best="" best_area=0
  for picture in "$scratch/root/usr/share/wallpapers/$name/contents/images/"*.{jpg,jpeg}; do
    # The smaller sizes are often links to the largest; only files inside the package count.
    picture=$(readlink -f "$picture") || continue
    [[ -f "$picture" && "$picture" == "$scratch/root/"* ]] || continue
    read -r width height < <(identify -quiet -ping -format '%w %h\n' "$picture" 2>/dev/null | head -n 1) || continue
    if [ -n "${width:-}" ] && [ $((width * height)) -gt "$best_area" ]; then
      best=$picture best_area=$((width * height))
    fi
  done
  if [ -z "$best" ]; then
    echo "get-photos: $package has no JPEG of the wallpaper $name; left out" >&2
    continue
  fi
  cp "$best" "$scratch/photos/$name.jpg"
  echo "  $name.jpg: $(basename "$best")"
  found=$((found + 1))
done
for picture in "$scratch/root/$mate_photos/"*.jpg; do
  [[ -f "$picture" && ! -L "$picture" ]] || continue
  cp "$picture" "$scratch/photos/$(basename "$picture")"
  echo "  $(basename "$picture")"
  found=$((found + 1))
done
if [ "$found" = 0 ]; then
  echo "get-photos: none of the photographs was found in $package" >&2
  exit 1
fi

mkdir -p "$dir"
for photo in "$scratch/photos/"*.jpg; do
  cp "$photo" "$dir/.$(basename "$photo").tmp"
  mv "$dir/.$(basename "$photo").tmp" "$dir/$(basename "$photo")"
done
echo "Photos in $dir: $found JPEGs."
