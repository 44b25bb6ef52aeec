#pragma once
// Validating the settings panel before its values are used (a run, the effect preview, saving the
// recipe): one pass from top to bottom that copies each value into the recipe, refuses values that
// cannot work, and prepares the two watermarks. It stops at the first refusal; the values copied
// before it stay in the recipe.

#include <optional>

#include "base/refusal.h"
#include "engine/process/run_recipe.h"
#include "fonts/font_catalogue.h"
#include "panel/values/panel_values.h"

namespace brindle {

// Byte limits (GBK, terminator excluded) of the texts validation reads from the panel: a longer
// text is read cut to its limit.
inline constexpr std::size_t kSizeTextLimit = 7;
inline constexpr std::size_t kMaxFileSizeTextLimit = 7;
inline constexpr std::size_t kWatermarkTextLimit = 255;
inline constexpr std::size_t kFontSizeTextLimit = 7;
inline constexpr std::size_t kMarginTextLimit = 4;
inline constexpr std::size_t kTextBoxNumberLimit = 7;  // border size, corner radius, paddings
inline constexpr std::size_t kRotationTextLimit = 7;
inline constexpr std::size_t kSizeRatioTextLimit = 7;
inline constexpr std::size_t kWatermarkPathLimit = 259;
inline constexpr std::size_t kDpiTextLimit = 15;

// Fills recipe.options from the panel, prepares recipe.text_watermark (made when missing) and
// recipe.watermark_picture, and returns nullopt; or returns the refusal to show. The panel changes
// too where validation corrects a box (a font size that is not a size becomes "26"). The
// catalogue is consulted only when the text watermark is on; ImageMagick must have been started.
std::optional<Refusal> ValidatePanel(PanelValues& panel, RunRecipe& recipe,
                                     const FontCatalogue& catalogue, int screen_dpi);

}  // namespace brindle
