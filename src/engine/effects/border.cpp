#include "engine/effects/border.h"

#include <algorithm>

#include "engine/effects/overlay.h"

namespace brindle {
namespace {

bool AddFrame(MagickWand* wand, const char* color, int width) {
  if (width <= 0) return true;
  PixelWandPtr frame = MakePixelWand(color);
  return MagickBorderImage(wand, frame.get(), static_cast<size_t>(width),
                           static_cast<size_t>(width)) != MagickFalse;
}

bool AddFrames(MagickWand* wand, const ProcessingOptions& options, int border, int padding) {
  return AddFrame(wand, "#FFFFFF", padding) &&
         AddFrame(wand, ColorToHtml(static_cast<std::uint32_t>(options.border_color)).c_str(),
                  border);
}

}  // namespace

InsideBorderCut PlanInsideBorder(int width, int height, int border, int padding, bool resizing) {
  InsideBorderCut cut;
  cut.border = border;
  cut.padding = padding;
  const int frames = border + padding;
  cut.width = std::max(1, width - 2 * frames);
  cut.height = std::max(1, height - 2 * frames);
  cut.x = width <= frames ? width / 2 : frames;
  cut.y = height <= frames ? height / 2 : frames;
  if (!resizing) return cut;

  // The resize made the size exact; keep it along the shorter side.
  const bool height_is_shorter = width > height;
  const int shorter = height_is_shorter ? height : width;
  const int kept = height_is_shorter ? cut.height : cut.width;
  int room = shorter - kept;
  if (room % 2 != 0) --room;
  if (2 * border + kept > shorter) {
    cut.border = room / 2;
    cut.padding = 0;
  } else if (kept + 2 * frames > shorter) {
    cut.padding = (room - 2 * border) / 2;
  } else {
    return cut;
  }
  const int new_frames = cut.border + cut.padding;
  cut.width = std::max(1, width - 2 * new_frames);
  cut.height = std::max(1, height - 2 * new_frames);
  cut.x = new_frames;
  cut.y = new_frames;
  return cut;
}

bool ApplyBorder(MagickWand* wand, const ProcessingOptions& options) {
  if (!options.bBorder) return true;
  // A coloured frame on a grey photo must stay coloured.
  if (!ConvertGreyToSrgb(wand)) return false;
  if (options.border_location != BorderLocation::kInside) {
    return AddFrames(wand, options, options.border_size, options.border_padding);
  }
  const int width = static_cast<int>(MagickGetImageWidth(wand));
  const int height = static_cast<int>(MagickGetImageHeight(wand));
  InsideBorderCut cut = PlanInsideBorder(width, height, std::max(0, options.border_size),
                                         std::max(0, options.border_padding), options.bSize != 0);
  MagickSetImagePage(wand, static_cast<size_t>(width), static_cast<size_t>(height), 0, 0);
  if (MagickCropImage(wand, static_cast<size_t>(cut.width), static_cast<size_t>(cut.height), cut.x,
                      cut.y) == MagickFalse) {
    return false;
  }
  MagickSetImagePage(wand, static_cast<size_t>(cut.width), static_cast<size_t>(cut.height), 0, 0);
  return AddFrames(wand, options, cut.border, cut.padding);
}

}  // namespace brindle
