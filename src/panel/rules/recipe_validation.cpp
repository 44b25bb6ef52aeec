#include "panel/rules/recipe_validation.h"

#include <memory>
#include <utility>

#include "engine/watermark/text_watermark.h"
#include "panel/rules/panel_validation.h"
#include "panel/values/panel_load.h"

namespace brindle {

std::variant<RunRecipe, Refusal> ValidateRecipe(ProcessingOptions options,
                                                const FontCatalogue& catalogue, int screen_dpi) {
  PanelValues panel;
  LoadPanelValues(options, FontBoxOrder(catalogue.face_names()), panel);
  RunRecipe recipe{std::move(options), std::make_shared<TextWatermark>()};
  if (std::optional<Refusal> refusal = ValidatePanel(panel, recipe, catalogue, screen_dpi)) {
    return std::move(*refusal);
  }
  return recipe;
}

}  // namespace brindle
