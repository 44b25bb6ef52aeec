#pragma once
// Which changes in the settings panel refresh an open effect preview. A change that cannot alter
// the result yet (a watermark without its text or picture, a resize without a size) leaves the
// preview alone, so the user is not kept waiting for the same picture again.

#include "panel/rules/number_box.h"
#include "panel/values/panel_values.h"

namespace brindle {

// The changes that may refresh the preview, each with the condition it needs.
enum class PanelChange {
  // The resize box, the side list: the size box is not empty.
  kResizeSwitch,
  kSizeType,
  // The kind list, and the "高"/"宽" list of "文字大小按比例": the size box and the watermark text
  // are both not empty.
  kZoomType,
  kTextSizeScaleType,
  // The text watermark's title box, style buttons, colours, font, font size choice, positions,
  // border, radius, "文字大小按比例", "平铺", the watermark text chosen or changed: the watermark
  // text is not empty.
  kTextWatermark,
  // The text opacity or spacing slider released: the watermark text is not blank.
  kTextSlider,
  // The picture watermark's title box, picture, "平铺", sliders released, position lists: a
  // watermark picture is chosen.
  kImageWatermark,
  // The quality box and slider, tones, the border group, black-and-white, Exif, the colour space,
  // "sRGB.icc", "分辨率(DPI)：": always.
  kAlways,
  // "重新采样": the resolution box is not empty.
  kResample,
};

bool ChangeRefreshesPreview(const PanelValues& panel, PanelChange change);

// A number box left (changed = its text differs from the text it had with the focus) or Enter
// pressed in it (enter = true: always). The text watermark's boxes also need a watermark text;
// Enter in a picture watermark box needs a chosen picture.
bool BoxRefreshesPreview(const PanelValues& panel, NumberBox box, bool enter, bool changed);

}  // namespace brindle
