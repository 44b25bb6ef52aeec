#pragma once
// The per-picture pipeline of the main batch: read, refuse what cannot be handled, settle frame,
// transparency and metadata, re-compose JPEG sources, set the resolution, rotate and flip, resize,
// convert CMYK early, adjust the tone, set the compression, lay the watermarks, add the border,
// turn grey, convert the colour space late, and write the JPEG (or hand the picture back to the
// caller).

#include <filesystem>
#include <memory>
#include <optional>

#include "engine/run_recipe.h"
#include "platform/magick_wand.h"

namespace brindle {

enum class ProcessOutcome { kWritten, kFailed, kHandedBack };

struct ProcessResult {
  ProcessOutcome outcome = ProcessOutcome::kFailed;
  MagickWandPtr wand;  // the processed picture when handed back
};

// Processes one picture. With a target, the JPEG is written there (through a temporary file that
// replaces the target only when complete); without one (overwrite mode, the effect preview) the
// processed picture is handed back, its compression set, ready to be encoded as JPEG.
// flip is the list entry's flip state (non-zero: mirror top to bottom after rotating); rotation is
// clockwise in degrees (0, 90, 180, 270). Failures add their reason to the information log.
ProcessResult ProcessPicture(const RunRecipe& recipe, const std::filesystem::path& source,
                             const std::optional<std::filesystem::path>& target, int flip,
                             int rotation);

}  // namespace brindle
