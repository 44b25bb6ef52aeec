#include "tools/join/join_compose.h"

#include <cmath>
#include <optional>
#include <string>

#include "base/info_log.h"
#include "engine/effects/resize.h"
#include "engine/read/picture_read.h"
#include "platform/files/file_write.h"
#include "platform/magick/magick_environment.h"
#include "tools/common/tool_picture_steps.h"
#include "tools/join/join_jpeg_limit.h"

namespace brindle {

namespace fs = std::filesystem;

namespace {

bool IsJpegBytes(const std::string& bytes) {
  return bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
         static_cast<unsigned char>(bytes[1]) == 0xD8;
}

// A JPEG that will be shrunk to half its size or less can be decoded at 1/2, 1/4 or 1/8 of its
// size, which saves most of the decoding time and memory of large photos. Returns the exact size
// the full picture would be resized to (so the joined picture has the planned size); none when
// the full decode is needed.
std::optional<JoinSides> PlanReducedDecode(const std::string& bytes, JoinLayout layout, int common,
                                           MagickWand* wand) {
  if (!IsJpegBytes(bytes)) return std::nullopt;
  MagickWandPtr ping = MakeMagickWand();
  if (!PingPictureBytes(ping.get(), bytes) || MagickGetNumberImages(ping.get()) != 1) {
    return std::nullopt;
  }
  MagickResetIterator(ping.get());
  MagickTextPtr format(MagickGetImageFormat(ping.get()));
  if (!format || std::string(format.get()) != "JPEG") return std::nullopt;
  const int stored_width = static_cast<int>(MagickGetImageWidth(ping.get()));
  const int stored_height = static_cast<int>(MagickGetImageHeight(ping.get()));
  const bool sideways = TurnsSidewaysWhenUpright(MagickGetImageOrientation(ping.get()));
  const int width = sideways ? stored_height : stored_width;
  const int height = sideways ? stored_width : stored_height;
  const JoinSides full = ToJoinSides(layout, width, height);
  if (full.across <= common) return std::nullopt;
  const JoinSides target{common, scaledLength(full.across, full.along, common)};
  if (target.across * 2 > full.across || target.along * 2 > full.along) return std::nullopt;
  int target_width = 0;
  int target_height = 0;
  FromJoinSides(layout, target, target_width, target_height);
  // The hint is in the stored orientation; the decoder keeps at least this size.
  std::string hint = sideways ? std::to_string(target_height) + "x" + std::to_string(target_width)
                              : std::to_string(target_width) + "x" + std::to_string(target_height);
  MagickSetOption(wand, "jpeg:size", hint.c_str());
  return target;
}

// Reads one picture of the composition pass, with only its first image kept (a GIF's first frame,
// a PSD's merged picture, a TIFF's first page); it is still to be turned upright. reduced_target
// is set when the JPEG decoder delivered it smaller than it is.
MagickWandPtr ReadJoinPicture(const fs::path& path, JoinLayout layout, int common,
                              std::optional<JoinSides>& reduced_target) {
  MagickWandPtr wand = MakeMagickWand();
  std::string bytes;
  if (!ReadWholeFile(path, bytes)) return nullptr;
  reduced_target = PlanReducedDecode(bytes, layout, common, wand.get());
  const bool read = ReadPictureBytes(wand.get(), bytes, nullptr);
  std::string().swap(bytes);  // the encoded picture is not needed once decoded
  if (!read) return nullptr;
  // Frames and layers after the first are never used; they are let go at once.
  while (MagickGetNumberImages(wand.get()) > 1) {
    MagickSetLastIterator(wand.get());
    MagickRemoveImage(wand.get());
  }
  MagickResetIterator(wand.get());
  return wand;
}

// A joined picture with a hole, or a part sideways or wrongly coloured, is no result: nothing is
// composed.
JoinedPicture Refused(MagickWand* wand, JoinedPicture joined) {
  joined.refusal = TakeMagickError(wand);
  return joined;
}

}  // namespace

void TakeJoinResolution(MagickWand* canvas, MagickWand* picture) {
  double x = 0;
  double y = 0;
  MagickGetImageResolution(picture, &x, &y);
  switch (MagickGetImageUnits(picture)) {
    case PixelsPerInchResolution:
      break;
    case PixelsPerCentimeterResolution:
      x = std::trunc(x * 2.54);
      y = std::trunc(y * 2.54);
      if (x < 1) x = kDefaultJoinResolution;
      if (y < 1) y = kDefaultJoinResolution;
      break;
    default:
      if (x != 0 || y != 0) {
        MagickSetImageUnits(canvas, UndefinedResolution);
        MagickSetImageResolution(canvas, x, y);
        return;
      }
      x = kDefaultJoinResolution;
      y = kDefaultJoinResolution;
      break;
  }
  MagickSetImageUnits(canvas, PixelsPerInchResolution);
  MagickSetImageResolution(canvas, x, y);
}

JoinedPicture ComposePlannedJoin(const std::vector<fs::path>& pictures, const JoinPlan& plan) {
  JoinedPicture joined;
  joined.troubled = plan.UnsizedCount();
  const long long width = plan.Width();
  const long long height = plan.Height();
  if (width < 1 || height < 1 || PngTooLarge(width, height)) return joined;

  // A canvas longer than everyday pictures may be: a joined PNG can be.
  LargerMagickSides larger_sides;
  MagickWandPtr canvas = MakeMagickWand();
  PixelWandPtr none = MakePixelWand("none");
  if (MagickNewImage(canvas.get(), static_cast<size_t>(width), static_cast<size_t>(height),
                     none.get()) == MagickFalse) {
    // Not "nothing to join": the pictures are there, the canvas could not be had.
    joined.refusal = TakeMagickError(canvas.get());
    return joined;
  }

  const int common = plan.common;
  long long offset = 0;
  bool resolution_taken = false;
  for (std::size_t index = 0; index < pictures.size(); ++index) {
    // A picture whose size was not read has no room on the canvas: laid on it, it would push the
    // pictures after it off the end. The sizing pass has logged and counted it.
    if (index < plan.sized.size() && !plan.sized[index]) continue;
    const fs::path& path = pictures[index];
    std::optional<JoinSides> reduced_target;
    MagickWandPtr picture = ReadJoinPicture(path, plan.layout, common, reduced_target);
    if (!picture) {
      LogInfo(FormatMessage(kUndecodablePictureMessage, path.c_str()));
      ++joined.troubled;
      continue;
    }
    MagickWand* wand = picture.get();
    if (!AutoOrient(wand)) return Refused(wand, std::move(joined));
    if (!resolution_taken) {
      TakeJoinResolution(canvas.get(), wand);
      resolution_taken = true;
    }
    if (PictureFormat(wand) == "BMP") MagickSetImageAlphaChannel(wand, DeactivateAlphaChannel);
    if (MagickGetImageColorspace(wand) == CMYKColorspace &&
        MagickTransformImageColorspace(wand, sRGBColorspace) == MagickFalse) {
      return Refused(wand, std::move(joined));
    }

    JoinSides sides = ToJoinSides(plan.layout, static_cast<int>(MagickGetImageWidth(wand)),
                                  static_cast<int>(MagickGetImageHeight(wand)));
    long long across = 0;
    if (reduced_target || sides.across > common) {
      const JoinSides target = reduced_target.value_or(
          JoinSides{common, scaledLength(sides.across, sides.along, common)});
      if (target.across != sides.across || target.along != sides.along) {
        int target_width = 0;
        int target_height = 0;
        FromJoinSides(plan.layout, target, target_width, target_height);
        if (!ResizePicture(wand, PictureSize{target_width, target_height})) {
          return Refused(wand, std::move(joined));
        }
      }
      sides = target;
    } else {
      across = (common - sides.across) / 2;
    }
    const long long along = offset >= 1 ? offset + plan.spacing : offset;
    const long long x = plan.layout == JoinLayout::kVertical ? across : along;
    const long long y = plan.layout == JoinLayout::kVertical ? along : across;
    if (MagickCompositeImage(canvas.get(), wand, OverCompositeOp, static_cast<ssize_t>(x),
                             static_cast<ssize_t>(y)) == MagickFalse) {
      return Refused(canvas.get(), std::move(joined));
    }
    offset = along + sides.along;
  }
  joined.wand = std::move(canvas);
  return joined;
}

JoinedPicture composeJoinedPicture(const std::vector<fs::path>& pictures,
                                   const JoinToolSettings& settings) {
  if (pictures.size() < 2) return {};
  return ComposePlannedJoin(pictures, PlanJoin(pictures, settings));
}

}  // namespace brindle
