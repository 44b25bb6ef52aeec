#pragma once
// The enabled states of one direction of the slice window ("水平划分为" or "垂直划分为"): with its
// check box off, both radios and both boxes are disabled; on, both radios are enabled and each box
// exactly when its radio is on, and the focus goes to the enabled box (the count box first).

namespace brindle {

struct SliceDirectionControls {
  bool radios = false;
  bool count_box = false;
  bool pixel_box = false;
  // The box that takes the focus: 0 none, 1 the count box, 2 the pixel box.
  int focus = 0;
  bool operator==(const SliceDirectionControls&) const = default;
};

SliceDirectionControls SliceDirectionControlsOf(bool on, bool count_radio, bool pixel_radio);

}  // namespace brindle
