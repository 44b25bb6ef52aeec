#include "panel/rules/panel_states.h"

namespace brindle {
namespace {

// An offset box counts only while its list is on a margin entry, not on "距中" (nor on nothing,
// which validation takes as centred).
bool MarginUsed(int placement) { return placement == 1 || placement == 2; }

}  // namespace

PanelEnabledStates EnabledStates(const PanelValues& panel) {
  PanelEnabledStates states;
  states.zoom_type = panel.resize && panel.zoom_unit == ZoomUnit::kPixel;
  states.size_type = panel.resize;
  states.size_box = panel.resize;
  states.keep_aspect = panel.resize && (panel.size_type == static_cast<int>(SizeType::kWidth) ||
                                        panel.size_type == static_cast<int>(SizeType::kHeight));
  states.quality_controls = panel.quality;
  states.file_size_shown = panel.quality_mode == QualityMode::kMaxFileSize;

  const bool text = panel.text_watermark;
  states.text_controls = text;
  states.text_horizontal_margin = text && MarginUsed(panel.text_placement.horizontal);
  states.text_vertical_margin = text && MarginUsed(panel.text_placement.vertical);
  states.font_size_list = text && !panel.text_size_scale;
  states.text_size_scale_controls = text && panel.text_size_scale;
  states.text_tiled_spacing = text && panel.text_tiled;

  const bool image = panel.image_watermark;
  states.image_controls = image;
  states.image_horizontal_margin = image && MarginUsed(panel.image_placement.horizontal);
  states.image_vertical_margin = image && MarginUsed(panel.image_placement.vertical);
  states.image_tiled_spacing = image && panel.image_tiled;

  states.border_controls = panel.border;

  states.light = panel.light.on;
  states.contrast = panel.contrast.on;
  states.clearly = panel.clearly.on;
  states.saturation = panel.saturation.on;
  states.colour_space_lists = panel.colour_space;
  states.srgb_icc =
      panel.colour_space && (panel.to_colour_space == static_cast<int>(ColorspaceChoice::kRgb) ||
                             panel.to_colour_space == static_cast<int>(ColorspaceChoice::kSrgb));
  states.dpi_box = panel.dpi;

  states.save_folder = panel.save_mode == PlacementMode::kSaveToFolder;
  return states;
}

GroupHeights GroupLayout(const PanelValues& panel) {
  return {panel.text_watermark ? kTextGroupOpenHeight : kWatermarkGroupClosedHeight,
          panel.image_watermark ? kImageGroupOpenHeight : kWatermarkGroupClosedHeight,
          panel.border ? kBorderGroupOpenHeight : kBorderGroupClosedHeight};
}

}  // namespace brindle
