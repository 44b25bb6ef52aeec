#!/usr/bin/env bash
# Installs every Debian package Brindle needs to build, run, test and benchmark.
# Idempotent and quick when everything is present: apt is only called for what is missing.
set -euo pipefail

packages=(
  # build
  build-essential cmake pkg-config ccache
  # core libraries
  libmagickwand-6.q16-dev libjpeg62-turbo-dev libimagequant-dev liblodepng-dev zlib1g-dev
  libheif-dev
  libfontconfig-dev
  # desktop program (Qt Widgets, its SVG icons) and the preference store (QtCore); xvfb for the
  # desktop program's screenshots
  qt6-base-dev qt6-svg-dev xvfb xauth
  # Qt's own texts in Chinese (message box buttons, the file and folder choosers)
  qt6-translations-l10n
  # tests (exiftool writes the Exif, IPTC and XMP blocks that metadata removal must take out)
  googletest libgtest-dev libgmock-dev libimage-exiftool-perl
  # tests and the WebP benchmark: an animated WebP (img2webp) and cwebp as a peer; a HEIC with two
  # still pictures and an embedded thumbnail (heif-enc)
  webp libheif-examples
  # a comma-decimal locale made with localedef in the locale test
  locales
  # fonts: Latin (DejaVu's bold, italic and condensed faces are in -extra), a CJK sans and a
  # Song/Ming-style CJK face; Ghostscript and its URW fonts, which ImageMagick's own font list then
  # names (Helvetica, Times, ...), so the tests run where ImageMagick knows faces the program does not
  # draw with
  fonts-dejavu-core fonts-dejavu-extra fonts-wqy-microhei fonts-arphic-uming
  ghostscript fonts-urw-base35
  # colour profiles: sRGB/Adobe RGB (colord-data), a CMYK profile (libgs-common)
  colord-data libgs-common icc-profiles-free
  # benchmarks: ImageMagick's own tools, pngquant and libvips' vipsthumbnail as peers, timing
  # tools, Python for the scripts
  imagemagick pngquant libvips-tools hyperfine time python3
  # the thumbnail benchmark's select-all with the accessibility bus active
  dbus at-spi2-core
  # fuzzing and sanitizer builds
  clang libclang-rt-14-dev
  # the package: its checks (lintian, appstreamcli for the AppStream metainfo, man for the manual
  # pages) and Qt's translations, which the package depends on
  lintian appstream man-db qt6-translations-l10n
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
