#include "panel/values/panel_labels.h"

#include "engine/effects/resize.h"

namespace brindle {

std::string ToneLabel(int value) {
  std::string label = value > 0 ? "+" : "";
  label += std::to_string(value);
  return label;
}

std::string ValueLabel(int value) {
  std::string label = "(";
  label += std::to_string(value);
  label += ')';
  return label;
}

std::string_view UnitLabel(ZoomUnit unit) { return unit == ZoomUnit::kPercent ? "百分比" : "像素"; }

std::string_view KeepAspectText(const PanelValues& panel) {
  return KeepAspectLabel(static_cast<ZoomType>(panel.zoom_type),
                         static_cast<SizeType>(panel.size_type));
}

std::string_view ZoomKindName(int zoom_type) {
  // As the keep-aspect label reads it: a kind the list does not have resizes both ways.
  if (zoom_type == static_cast<int>(ZoomType::kShrink)) return "缩小";
  if (zoom_type == static_cast<int>(ZoomType::kEnlarge)) return "放大";
  return "缩放";
}

}  // namespace brindle
