#pragma once
// Setting the panel from a recipe, as loading a recipe file does: every control from its field,
// with the conversions that show in the panel.

#include <filesystem>
#include <string>
#include <vector>

#include "panel/values/panel_values.h"
#include "recipe/processing_options.h"

namespace brindle {

// Sets every recipe control of the panel from the record; the save controls are left as they are.
// font_box_names are the font box's entries in the order it offers them: the entry equal to the
// recipe's face name (letter case ignored) is chosen, else the first. A dpi outside 1 to 65535 is
// set to -1 in the record and leaves the box empty.
void LoadPanelValues(ProcessingOptions& options, const std::vector<std::string>& font_box_names,
                     PanelValues& panel);

// Loads a recipe file into the record and the panel. The file is read into a zero-filled record;
// when it cannot be read, false is returned and the record and panel are as they were. A file
// inside recipe_folder is marked as just used (its last-access time, by which the recent-recipes
// menu is ordered). Then every recipe control is set as LoadPanelValues sets it.
bool ApplyOptionsToPanel(const std::filesystem::path& path,
                         const std::filesystem::path& recipe_folder,
                         const std::vector<std::string>& font_box_names, ProcessingOptions& options,
                         PanelValues& panel);

// "字体:%s, 大小:%d, 颜色:%s" with ", 粗斜体", ", 斜体" or ", 粗体" after it as the style says.
std::string FontSummaryText(const ProcessingOptions& options);

}  // namespace brindle
