#include "window_rules/tools/slice/slice_direction_controls.h"

namespace brindle {

SliceDirectionControls SliceDirectionControlsOf(bool on, bool count_radio, bool pixel_radio) {
  if (!on) return {};
  SliceDirectionControls controls{true, count_radio, pixel_radio, 0};
  controls.focus = count_radio ? 1 : pixel_radio ? 2 : 0;
  return controls;
}

}  // namespace brindle
