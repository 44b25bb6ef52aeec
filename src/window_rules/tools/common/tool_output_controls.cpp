#include "window_rules/tools/common/tool_output_controls.h"

namespace brindle {

OutputControlsShown OutputControlsFor(ToolOutputFormat format, bool png8) {
  const bool png = format == ToolOutputFormat::kPng;
  return {!png, png, png, png && png8};
}

}  // namespace brindle
