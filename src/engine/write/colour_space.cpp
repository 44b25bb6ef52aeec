#include "engine/write/colour_space.h"

#include <string>
#include <string_view>

namespace brindle {
namespace {

// Every profile goes in under this name, which ImageMagick treats as the colour profile.
constexpr const char* kProfileName = "ICC";
// The name the colour profile is kept under.
constexpr const char* kStoredProfileName = "icc";

// A profile ImageMagick refuses (a broken one embedded in the photo) leaves the picture as it was
// and the conversion goes on: the photo is not lost for its profile.
void ApplyProfile(MagickWand* wand, const std::string& profile) {
  if (!profile.empty() &&
      MagickProfileImage(wand, kProfileName, profile.data(), profile.size()) == MagickFalse) {
    // The pending error must not be taken for a later one.
    TakeMagickError(wand);
  }
}

bool HasColourProfile(MagickWand* wand) {
  size_t length = 0;
  MagickBlobPtr profile(MagickGetImageProfile(wand, kStoredProfileName, &length));
  return profile != nullptr;
}

bool CarriesProfile(MagickWand* wand, const std::string& expected) {
  size_t length = 0;
  MagickBlobPtr profile(MagickGetImageProfile(wand, kStoredProfileName, &length));
  return profile && std::string_view(reinterpret_cast<const char*>(profile.get()), length) ==
                        std::string_view(expected);
}

void AssumeCmykProfile(MagickWand* wand, const IccProfiles& profiles) {
  if (!HasColourProfile(wand)) ApplyProfile(wand, profiles.cmyk);
}

// Applies the target's profile, then transforms to the target colour space.
bool ConvertTo(MagickWand* wand, ColorspaceChoice target, const IccProfiles& profiles) {
  const std::string* profile = nullptr;
  ColorspaceType colorspace = UndefinedColorspace;
  switch (target) {
    case ColorspaceChoice::kCmyk:
      profile = &profiles.cmyk;
      colorspace = CMYKColorspace;
      break;
    case ColorspaceChoice::kRgb:
      profile = &profiles.adobe_rgb;
      colorspace = RGBColorspace;
      break;
    case ColorspaceChoice::kSrgb:
      profile = &profiles.srgb;
      colorspace = sRGBColorspace;
      break;
    case ColorspaceChoice::kAll:
      return true;
  }
  // A picture with a profile of its own has its pixels converted by the target profile and is
  // done. ImageMagick's colour-space transform would then drop the profile and, for Adobe RGB
  // (which ImageMagick still calls sRGB after the profile), re-code the pixels as linear RGB, which
  // the JPEG encoder codes back without the profile: Adobe RGB pixels shown as sRGB, washed out.
  // A picture without a profile is only labelled by it, and the transform does the conversion.
  const bool had_profile = HasColourProfile(wand);
  ApplyProfile(wand, *profile);
  if (had_profile && !profile->empty() && CarriesProfile(wand, *profile)) return true;
  return MagickTransformImageColorspace(wand, colorspace) != MagickFalse;
}

// The picture's colour space as one of the choices; kAll stands for any other colour space.
ColorspaceChoice ChoiceOf(ColorspaceType colorspace) {
  switch (colorspace) {
    case CMYKColorspace:
      return ColorspaceChoice::kCmyk;
    case RGBColorspace:
      return ColorspaceChoice::kRgb;
    case sRGBColorspace:
      return ColorspaceChoice::kSrgb;
    default:
      return ColorspaceChoice::kAll;
  }
}

}  // namespace

bool ColourSpaceConversionRunsEarly(const ProcessingOptions& options, MagickWand* wand) {
  if (!options.bColorspaceTo) return false;
  const ColorspaceChoice from = options.fromColorspace;
  const ColorspaceChoice to = options.toColorspace;
  return (from == ColorspaceChoice::kCmyk || from == ColorspaceChoice::kAll) &&
         MagickGetImageColorspace(wand) == CMYKColorspace &&
         (to == ColorspaceChoice::kRgb || to == ColorspaceChoice::kSrgb);
}

bool ConvertColourSpace(MagickWand* wand, const ProcessingOptions& options,
                        const IccProfiles& profiles) {
  if (!options.bColorspaceTo) return true;
  const ColorspaceChoice from = options.fromColorspace;
  const ColorspaceChoice to = options.toColorspace;
  const ColorspaceChoice current = ChoiceOf(MagickGetImageColorspace(wand));
  // Only the pictures the source choice names are converted; "全部" takes every picture.
  if (from != ColorspaceChoice::kAll && from != current) return true;
  if (current == ColorspaceChoice::kCmyk) {
    AssumeCmykProfile(wand, profiles);
    return to == ColorspaceChoice::kCmyk || ConvertTo(wand, to, profiles);
  }
  return current == to || ConvertTo(wand, to, profiles);
}

}  // namespace brindle
