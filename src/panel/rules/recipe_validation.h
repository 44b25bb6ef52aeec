#pragma once
// A recipe taken the way the desktop program takes it: loaded into the settings panel as a recipe
// file is, then validated as the panel is before a run or a preview. brindle-cli's commands that
// run the main recipe go through this, so they accept and refuse exactly what the panel does.

#include <variant>

#include "base/refusal.h"
#include "engine/process/run_recipe.h"
#include "fonts/font_catalogue.h"
#include "recipe/processing_options.h"

namespace brindle {

// The run recipe with its watermarks prepared (colour profiles left to the caller), or the refusal
// validation gives. The font box offers the catalogue's names; the catalogue is consulted only
// when the text watermark is on. ImageMagick must have been started.
std::variant<RunRecipe, Refusal> ValidateRecipe(ProcessingOptions options,
                                                const FontCatalogue& catalogue, int screen_dpi);

}  // namespace brindle
