#!/usr/bin/env bash
# Installs every Debian package Brindle needs to build, run, test and benchmark.
# Idempotent and quick when everything is present: apt is only called for what is missing.
set -euo pipefail

packages=(
  # build
  build-essential cmake pkg-config ccache
  # core libraries
  libmagickwand-6.q16-dev libjpeg62-turbo-dev libimagequant-dev liblodepng-dev zlib1g-dev
  libfontconfig-dev
  # desktop program (Qt Widgets, its SVG icons) and the preference store (QtCore); xvfb for the
  # desktop program's screenshots
  qt6-base-dev qt6-svg-dev xvfb xauth
  # tests (exiftool writes the Exif, IPTC and XMP blocks that metadata removal must take out)
  googletest libgtest-dev libgmock-dev libimage-exiftool-perl
  # a comma-decimal locale made with localedef in the locale test
  locales
  # fonts: Latin, a CJK sans and a Song/Ming-style CJK face
  fonts-dejavu-core fonts-wqy-microhei fonts-arphic-uming
  # colour profiles: sRGB/Adobe RGB (colord-data), a CMYK profile (libgs-common)
  colord-data libgs-common icc-profiles-free
  # benchmarks: ImageMagick's own tools, pngquant and libvips' vipsthumbnail as peers, timing
  # tools, Python for the scripts
  imagemagick pngquant libvips-tools hyperfine time python3
  # the thumbnail benchmark's select-all with the accessibility bus active
  dbus at-spi2-core
  # fuzzing and sanitizer builds
  clang libclang-rt-14-dev
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  SUDO="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
