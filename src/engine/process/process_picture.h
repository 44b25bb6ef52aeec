#pragma once
// The per-picture pipeline of the main batch: read, refuse what cannot be handled, settle frame,
// transparency and metadata, re-compose JPEG sources, set the resolution, rotate and flip, resize,
// convert CMYK early, adjust the tone, set the compression, lay the watermarks, add the border,
// turn grey, convert the colour space late, and write the JPEG (or hand the picture back to the
// caller).

#include <cstddef>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "engine/effects/resize.h"
#include "engine/effects/resolution.h"
#include "engine/process/run_recipe.h"
#include "platform/magick/magick_wand.h"

namespace brindle {

enum class ProcessOutcome { kWritten, kFailed, kHandedBack };

struct ProcessResult {
  ProcessOutcome outcome = ProcessOutcome::kFailed;
  MagickWandPtr wand;  // the processed picture when handed back
};

// How a source is decoded for a recipe. A JPEG that the recipe shrinks is decoded smaller (by
// whole eighths, down to 1/8), which saves most of the decoding time and memory, but never below
// twice the size the resize gives, so that the resampling after it keeps its quality; reduced_to
// is the exact size the resize rules give for the full picture, so the result is the size a full
// decode would give.
inline constexpr int kResampleHeadroom = 2;

struct DecodePlan {
  std::optional<PictureSize> reduced_to;  // upright, after the user's turn
  std::string jpeg_size_hint;  // "WxH" in the stored orientation; empty for a full decode
  bool sideways = false;       // the stored picture is turned a quarter from reduced_to
  bool operator==(const DecodePlan&) const = default;
};

DecodePlan PlanDecode(const ProcessingOptions& options, const std::string& bytes, int rotation);

// A source decoded by a plan and turned upright: what the recipe's steps start from.
struct DecodedPicture {
  MagickWandPtr wand;
  std::string format;
  PictureResolution resolution;  // as stored in the source
  std::size_t quality = 0;       // the JPEG quality stored in the source
  DecodePlan plan;
  bool resized = false;  // already at the plan's size (decoded and resampled in one go)
};

// Decodes the source's bytes; none when it cannot be read, turned upright or is an animated GIF
// (the reason logged with the source's path).
std::optional<DecodedPicture> DecodePicture(const std::string& bytes, const DecodePlan& plan,
                                            const std::filesystem::path& source);

// A copy to process while the original is kept; none when ImageMagick cannot make it.
std::optional<DecodedPicture> CopyDecodedPicture(const DecodedPicture& picture);

// Processes one picture. With a target, the JPEG is written there (through a temporary file that
// replaces the target only when complete); without one (overwrite mode, the effect preview) the
// processed picture is handed back, its compression set, ready to be encoded as JPEG.
// flip is the list entry's flip state (non-zero: mirror top to bottom after rotating); rotation is
// clockwise in degrees (0, 90, 180, 270). Failures add their reason to the information log.
ProcessResult ProcessPicture(const RunRecipe& recipe, const std::filesystem::path& source,
                             const std::optional<std::filesystem::path>& target, int flip,
                             int rotation);

// The same from a picture already decoded by PlanDecode's plan for this recipe and rotation.
ProcessResult ProcessDecodedPicture(const RunRecipe& recipe, DecodedPicture picture,
                                    const std::filesystem::path& source,
                                    const std::optional<std::filesystem::path>& target, int flip,
                                    int rotation);

}  // namespace brindle
