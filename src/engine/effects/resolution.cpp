#include "engine/effects/resolution.h"

namespace brindle {
namespace {

constexpr double kCentimetresPerInch = 2.54;
constexpr double kDefaultDotsPerInch = 72;
// PNG stores whole pixels per metre, and writers that truncate (ImageMagick among them) leave its
// dots per inch up to one pixel per metre (0.0254 dpi) below the whole number it was written as: 72
// dpi reads back as 71.98 and 300 dpi as 299.9994. Truncating those would lose a whole dot.
constexpr double kPerMetreRoundingSlack = 0.0254;

// Dots per inch from pixels per centimetre, truncated to whole dots.
double WholeDotsPerInch(double per_centimetre) {
  return static_cast<double>(
      static_cast<long>(per_centimetre * kCentimetresPerInch + kPerMetreRoundingSlack));
}

void SetResolution(MagickWand* wand, ResolutionType units, double x, double y) {
  MagickSetImageUnits(wand, units);
  MagickSetImageResolution(wand, x, y);
}

}  // namespace

void NormaliseResolution(MagickWand* wand, const PictureResolution& source) {
  switch (source.units) {
    case PixelsPerInchResolution:
      SetResolution(wand, PixelsPerInchResolution, source.x, source.y);
      break;
    case PixelsPerCentimeterResolution: {
      double x = WholeDotsPerInch(source.x);
      double y = WholeDotsPerInch(source.y);
      SetResolution(wand, PixelsPerInchResolution, x > 0 ? x : kDefaultDotsPerInch,
                    y > 0 ? y : kDefaultDotsPerInch);
      break;
    }
    default:
      if (source.x != 0 || source.y != 0) {
        SetResolution(wand, UndefinedResolution, source.x, source.y);
      } else {
        SetResolution(wand, PixelsPerInchResolution, kDefaultDotsPerInch, kDefaultDotsPerInch);
      }
      break;
  }
}

PictureResolution ReadPictureResolution(MagickWand* wand) {
  PictureResolution resolution;
  resolution.units = MagickGetImageUnits(wand);
  MagickGetImageResolution(wand, &resolution.x, &resolution.y);
  return resolution;
}

void ApplyResolution(MagickWand* wand, const ProcessingOptions& options,
                     const PictureResolution& source) {
  if (!options.bDpi) {
    NormaliseResolution(wand, source);
    return;
  }
  double x = source.x;
  double y = source.y;
  if (source.units == PixelsPerCentimeterResolution) {
    x *= kCentimetresPerInch;
    y *= kCentimetresPerInch;
  } else if (source.units != PixelsPerInchResolution) {
    x = y = kDefaultDotsPerInch;
  }
  // An empty DPI box (-1) keeps the picture's own units and resolution.
  if (options.dpi < 1) return;
  const double dpi = options.dpi;
  MagickSetImageUnits(wand, PixelsPerInchResolution);
  if (!options.bDpiResample) {
    MagickSetImageResolution(wand, dpi, dpi);
    return;
  }
  // Resampling divides by the stored resolution; a stored 0 is taken as the usual 72.
  if (x <= 0) x = kDefaultDotsPerInch;
  if (y <= 0) y = kDefaultDotsPerInch;
  MagickSetImageResolution(wand, x, y);
  if (dpi != x) MagickResampleImage(wand, dpi, dpi, LanczosFilter, 1.0);
}

}  // namespace brindle
