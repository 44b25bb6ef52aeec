#pragma once
// Which of a tool's output controls are shown: the JPEG choice shows the quality row, the PNG
// choice the transparency and PNG-8 boxes, with the colour list only while PNG-8 is ticked.

#include "tools/common/output_options.h"

namespace brindle {

struct OutputControlsShown {
  bool quality = false;       // "质量：", the slider and its label
  bool transparency = false;  // "透明度"
  bool png8 = false;          // "PNG-8"
  bool colours = false;       // "颜色：" and the colour list
  bool operator==(const OutputControlsShown&) const = default;
};

OutputControlsShown OutputControlsFor(ToolOutputFormat format, bool png8);

}  // namespace brindle
