#include "window_rules/panel/number_box_step.h"

#include "panel/values/panel_text.h"

namespace brindle {
namespace {

struct StepRange {
  int min;
  int max;
};

std::optional<StepRange> RangeOf(const PanelValues& panel, NumberBox box) {
  switch (box) {
    case NumberBox::kSize:
      // In percent only the integer part steps; the fraction is dropped.
      return panel.zoom_unit == ZoomUnit::kPercent ? StepRange{1, 999} : StepRange{1, 9999};
    case NumberBox::kDpi:
      return StepRange{1, 65535};
    case NumberBox::kPaddingLeftRight:
    case NumberBox::kPaddingTopBottom:
      return StepRange{0, 99};
    case NumberBox::kTextRotation:
    case NumberBox::kImageRotation:
      return StepRange{0, 360};
    case NumberBox::kMaxFileSize:
      return StepRange{1, 99999};
    default:
      return std::nullopt;
  }
}

}  // namespace

std::optional<std::string> StepNumberBox(const PanelValues& panel, NumberBox box,
                                         std::string_view text, bool up) {
  const std::optional<StepRange> range = RangeOf(panel, box);
  if (!range) return std::nullopt;
  if (text.empty()) return up ? std::to_string(range->min) : std::string("1");
  int value = IntegerValue(text.substr(0, 7));
  if (up) {
    if (value > range->min) --value;
  } else if (value < range->max) {
    ++value;
  }
  return std::to_string(value);
}

std::optional<NumberBox> TabPartner(NumberBox box) {
  switch (box) {
    case NumberBox::kTextHorizontalMargin:
      return NumberBox::kTextVerticalMargin;
    case NumberBox::kTextVerticalMargin:
      return NumberBox::kTextHorizontalMargin;
    case NumberBox::kImageHorizontalMargin:
      return NumberBox::kImageVerticalMargin;
    case NumberBox::kImageVerticalMargin:
      return NumberBox::kImageHorizontalMargin;
    case NumberBox::kPaddingLeftRight:
      return NumberBox::kPaddingTopBottom;
    case NumberBox::kPaddingTopBottom:
      return NumberBox::kPaddingLeftRight;
    default:
      return std::nullopt;
  }
}

}  // namespace brindle
