#pragma once
// What a run prepares once and every picture of it reads.

#include <memory>

#include "engine/write/icc_profiles.h"
#include "platform/magick/magick_forward.h"
#include "recipe/processing_options.h"

namespace brindle {

struct TextWatermark;

struct RunRecipe {
  ProcessingOptions options;
  // Prepared once before the run; none draws no text.
  std::shared_ptr<TextWatermark> text_watermark;
  // The picture watermark prepared by PrepareWatermarkPicture; none draws no picture.
  std::shared_ptr<MagickWand> watermark_picture = nullptr;
  // The colour profiles as they were when the run started.
  IccProfiles profiles = {};
};

}  // namespace brindle
