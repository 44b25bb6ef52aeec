#pragma once
// What the settings panel does when the user picks something from a list, a menu or a switch that
// changes other controls with it: the size unit, the side, the font, the underline and line-through
// pair, the text colour and the save choice.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/refusal.h"
#include "fonts/font_catalogue.h"
#include "panel/values/panel_values.h"
#include "run/target/placement_mode.h"

namespace brindle {

// The unit menu. Percent holds the kind list at "缩放" (the kind does not count in percent) and
// remembers the kind it had; pixel brings that kind back.
void SetZoomUnit(PanelValues& panel, ZoomUnit unit);

// The keep-aspect box is ticked for the shorter and the longer side, where it cannot be turned off.
void RefreshKeepAspect(PanelValues& panel);

// The side list. For the shorter or the longer side, a tip at the list explains which side that is
// (title "提示"); the size box takes the focus afterwards in every case.
std::optional<Refusal> ChooseSizeType(PanelValues& panel, int size_type);

// The font list: the box shows the name and the recipe takes it.
void ChooseFont(PanelValues& panel, const std::string& face_name);

// A face whose hand mapping was deleted leaves the font box: every entry equal to it with letter
// case ignored, except a name the catalogue still holds. When the box's current entry went, the
// first entry left is chosen as the user would choose it, and true is returned.
bool RemoveFromFontBox(PanelValues& panel, std::vector<std::string>& font_box_names,
                       const FontCatalogue& catalogue, std::string_view face_name);

// Which style buttons the font offers: "B" only when the name has both bold and regular faces, "I"
// only when it has both italic and upright ones; neither for a name outside the catalogue.
struct StyleButtons {
  bool bold = false;
  bool italic = false;
  bool operator==(const StyleButtons&) const = default;
};
StyleButtons ShownStyleButtons(const FontCatalogue& catalogue, std::string_view face_name);

// "T" (underline) and "T" (line through) exclude each other: switching one on switches the other
// off.
void SetUnderline(PanelValues& panel, bool on);
void SetLineThrough(PanelValues& panel, bool on);

// The text colour (0x00BBGGRR) and its "#rrggbb" form.
void SetTextColour(PanelValues& panel, std::int32_t colour);

// The save radio buttons: "处理后保存到" shows the remembered folder, "直接覆盖原图" empties the
// box.
void SelectSaveMode(PanelValues& panel, PlacementMode mode);

// A folder chosen with "选择": it goes into the box, is remembered, and selects "处理后保存到".
void ChooseSaveFolder(PanelValues& panel, const std::string& folder);

}  // namespace brindle
