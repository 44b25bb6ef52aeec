#pragma once
// The effect preview: the recipe applied to one picture of the list, taken back instead of written,
// encoded the way the preview shows it, with the two status-bar texts.

#include <cstddef>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "engine/process/run_recipe.h"

namespace brindle {

struct EffectPreview {
  // The JPEG the preview shows: the processed picture as it would be saved, or for a CMYK result a
  // second encoding in RGB, since a display cannot show CMYK. A WebP or AVIF result is shown
  // decoded from the saved file's bytes (so its losses show) and encoded as a near-lossless JPEG.
  std::string display_jpeg;
  // Length of the first encoding: the size the saved file would have.
  std::size_t result_length = 0;
  int width = 0;
  int height = 0;
  std::string source_status;  // "原图尺寸: ..."
  std::string result_status;  // "处理后图片尺寸: ..."
};

// Makes effect previews and keeps the last source it decoded: refreshing the same picture after a
// change in the panel starts from the kept pixels instead of reading and decoding the file again,
// as long as the file is unchanged and the new recipe decodes it the same way.
class EffectPreviewMaker {
 public:
  EffectPreviewMaker();
  ~EffectPreviewMaker();

  // As MakeEffectPreview.
  std::optional<EffectPreview> Make(const RunRecipe& recipe, const std::filesystem::path& source,
                                    int flip, int rotation);
  // Lets the kept picture go (the preview is closed).
  void Forget();
  bool keeps(const std::filesystem::path& source) const;

 private:
  struct Kept;
  std::unique_ptr<Kept> kept_;
};

// Runs the pipeline on one picture with the list entry's flip and rotation. None when the pipeline
// refuses the picture (its reason is already in the information log). A source whose header is not
// understood is logged with kUnrecognisedPictureMessage and described by decoding it.
std::optional<EffectPreview> MakeEffectPreview(const RunRecipe& recipe,
                                               const std::filesystem::path& source, int flip,
                                               int rotation);

// "处理后图片" followed by the information line of a JPEG of the given size and length.
std::string ResultStatusText(int width, int height, std::size_t length,
                             const char* type = "JPEG");

}  // namespace brindle
