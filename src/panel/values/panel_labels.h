#pragma once
// The texts the settings panel shows beside its controls, made from their values. The quality
// slider's label is the tools' QualityLabel (tools/common/output_options.h), the same for every slider.

#include <string>
#include <string_view>

#include "panel/values/panel_values.h"

namespace brindle {

// A tone slider's label: "+" before positive values, the plain value otherwise.
std::string ToneLabel(int value);

// The spacing, border size and padding labels: "(%ld)".
std::string ValueLabel(int value);

// The size unit's label: "像素" or "百分比".
std::string_view UnitLabel(ZoomUnit unit);

// The keep-aspect box's text for the panel's kind and side, e.g. "高度等比例缩小".
std::string_view KeepAspectText(const PanelValues& panel);

// The kind of resizing as the exclusion messages name it: "缩小", "放大" or "缩放".
std::string_view ZoomKindName(int zoom_type);

}  // namespace brindle
