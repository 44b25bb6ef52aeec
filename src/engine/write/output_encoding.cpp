#include "engine/write/output_encoding.h"

namespace brindle {
namespace {

constexpr std::size_t kLowestQuality = 1;
constexpr std::size_t kHighestQuality = 100;
constexpr int kLargestTargetKb = 999998;

}  // namespace

const char* OutputMagickFormat(OutputFormat format) {
  switch (format) {
    case OutputFormat::kWebp:
      return "WEBP";
    case OutputFormat::kAvif:
      return "AVIF";
    default:
      return "JPEG";
  }
}

std::string_view OutputExtension(OutputFormat format) {
  switch (format) {
    case OutputFormat::kWebp:
      return ".webp";
    case OutputFormat::kAvif:
      return ".avif";
    default:
      return ".jpg";
  }
}

void SetEncoderQuality(MagickWand* wand, std::size_t quality) {
  MagickSetImageCompressionQuality(wand, quality);
  MagickSetCompressionQuality(wand, quality);
}

std::size_t TargetFileSize(const ProcessingOptions& options) {
  if (!options.bQuanlity || options.qualityMode != QualityMode::kMaxFileSize ||
      options.maxFileSize < 1 || options.maxFileSize > kLargestTargetKb) {
    return 0;
  }
  return static_cast<std::size_t>(options.maxFileSize) * 1024;
}

bool EncodeOutput(MagickWand* wand, const ProcessingOptions& options, std::string& bytes,
                  std::string* error) {
  if (MagickSetImageFormat(wand, OutputMagickFormat(options.outputFormat)) == MagickFalse) {
    if (error) *error = TakeMagickError(wand);
    return false;
  }
  const std::size_t target = TargetFileSize(options);
  if (options.outputFormat == OutputFormat::kJpg || target == 0) {
    return EncodePictureBlob(wand, bytes, error);
  }
  // File size falls as the quality falls (by and large): a binary search over the qualities keeps
  // the best file that fits, seven encodings for the hundred qualities.
  std::string fitting;
  std::string trial;
  std::size_t low = kLowestQuality;
  std::size_t high = kHighestQuality;
  while (low <= high) {
    const std::size_t quality = low + (high - low) / 2;
    SetEncoderQuality(wand, quality);
    if (!EncodePictureBlob(wand, trial, error)) return false;
    if (trial.size() <= target) {
      fitting.swap(trial);
      low = quality + 1;
    } else {
      if (quality == kLowestQuality) break;
      high = quality - 1;
    }
  }
  if (fitting.empty()) {
    SetEncoderQuality(wand, kLowestQuality);
    if (!EncodePictureBlob(wand, fitting, error)) return false;
  }
  bytes.swap(fitting);
  return true;
}

}  // namespace brindle
