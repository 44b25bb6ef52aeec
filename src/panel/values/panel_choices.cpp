#include "panel/values/panel_choices.h"

#include <algorithm>

#include "engine/effects/overlay.h"
#include "panel/values/panel_controls.h"
#include "platform/text/text_case.h"

namespace brindle {

void SetZoomUnit(PanelValues& panel, ZoomUnit unit) {
  if (unit == panel.zoom_unit) return;
  if (unit == ZoomUnit::kPercent) {
    panel.zoom_type_before_percent = panel.zoom_type;
    panel.zoom_type = static_cast<int>(ZoomType::kScale);
  } else {
    panel.zoom_type = panel.zoom_type_before_percent;
  }
  panel.zoom_unit = unit;
}

void RefreshKeepAspect(PanelValues& panel) {
  if (panel.size_type == static_cast<int>(SizeType::kShorterSide) ||
      panel.size_type == static_cast<int>(SizeType::kLongerSide)) {
    panel.keep_aspect = true;
  }
}

std::optional<Refusal> ChooseSizeType(PanelValues& panel, int size_type) {
  panel.size_type = size_type;
  RefreshKeepAspect(panel);
  const char* text = nullptr;
  if (size_type == static_cast<int>(SizeType::kShorterSide)) {
    text = "宽 > 高时，设置高度，反之设置宽度。";
  } else if (size_type == static_cast<int>(SizeType::kLongerSide)) {
    text = "宽 > 高时，设置宽度，反之设置高度。";
  }
  if (!text) return std::nullopt;
  Refusal tip;
  tip.control = panel_control::kSizeTypeList;
  tip.hint_title = "提示";
  tip.hint_text = text;
  tip.icon = MessageIcon::kInformation;
  tip.take_focus = false;
  return tip;
}

void ChooseFont(PanelValues& panel, const std::string& face_name) {
  panel.font_box_text = face_name;
  panel.font_name = face_name;
}

bool RemoveFromFontBox(PanelValues& panel, std::vector<std::string>& font_box_names,
                       const FontCatalogue& catalogue, std::string_view face_name) {
  auto goes = [&](const std::string& name) {
    return EqualsIgnoringCase(name, face_name) && !catalogue.Contains(name);
  };
  // The box shows the first entry that matches its text as the current one.
  auto current = std::find_if(
      font_box_names.begin(), font_box_names.end(),
      [&](const std::string& name) { return EqualsIgnoringCase(name, panel.font_box_text); });
  const bool current_goes = current != font_box_names.end() && goes(*current);
  std::erase_if(font_box_names, goes);
  if (!current_goes || font_box_names.empty()) return false;
  ChooseFont(panel, font_box_names.front());
  return true;
}

StyleButtons ShownStyleButtons(const FontCatalogue& catalogue, std::string_view face_name) {
  const std::vector<FontFace>* faces = catalogue.Find(face_name);
  if (!faces) return {};
  bool has_bold = false, has_regular = false, has_italic = false, has_upright = false;
  for (const FontFace& face : *faces) {
    (IsBold(face) ? has_bold : has_regular) = true;
    (face.italic ? has_italic : has_upright) = true;
  }
  return {has_bold && has_regular, has_italic && has_upright};
}

void SetUnderline(PanelValues& panel, bool on) {
  panel.underline = on;
  if (on) panel.line_through = false;
}

void SetLineThrough(PanelValues& panel, bool on) {
  panel.line_through = on;
  if (on) panel.underline = false;
}

void SetTextColour(PanelValues& panel, std::int32_t colour) {
  panel.text_colour = colour;
  panel.text_html_colour = ColorToHtml(static_cast<std::uint32_t>(colour));
}

void SelectSaveMode(PanelValues& panel, PlacementMode mode) {
  panel.save_mode = mode;
  panel.save_folder_text =
      mode == PlacementMode::kSaveToFolder ? panel.remembered_save_folder : std::string();
}

void ChooseSaveFolder(PanelValues& panel, const std::string& folder) {
  panel.remembered_save_folder = folder;
  panel.save_folder_text = folder;
  panel.save_mode = PlacementMode::kSaveToFolder;
}

}  // namespace brindle
