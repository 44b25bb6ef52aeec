#pragma once
// The arrow keys in the settings panel's number boxes, and Tab between paired boxes. The up arrow
// lowers the value, matching the offset spinners that count down from the top.

#include <optional>
#include <string>
#include <string_view>

#include "panel/rules/number_box.h"
#include "panel/values/panel_values.h"

namespace brindle {

// The box's new text after Up (up = true) or Down, or nothing for a box the keys do not step.
// The text is read as at most 7 characters; Up stops at the box's minimum and Down at its maximum;
// an empty box becomes the minimum on Up and "1" on Down.
std::optional<std::string> StepNumberBox(const PanelValues& panel, NumberBox box,
                                         std::string_view text, bool up);

// The box Tab moves to from a paired box: the two offsets of a watermark and the two paddings.
std::optional<NumberBox> TabPartner(NumberBox box);

}  // namespace brindle
