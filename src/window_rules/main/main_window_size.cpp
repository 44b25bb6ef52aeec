#include "window_rules/main/main_window_size.h"

namespace brindle {

ClientSize MainWindowClientSize(int usable_width, int usable_height) {
  ClientSize size;
  size.width = usable_width > 1260 ? 1260 : usable_width - 8;
  // (more than this screen height, client height), tallest first.
  static constexpr int kSteps[][2] = {{952, 953}, {749, 750}, {723, 676}, {665, 642},
                                      {631, 584}, {586, 539}, {562, 515}, {536, 489}};
  size.height = 480;
  for (const auto& [above, height] : kSteps) {
    if (usable_height > above) {
      size.height = height;
      break;
    }
  }
  return size;
}

WindowCorner CentredCorner(int area_x, int area_y, int area_width, int area_height, int width,
                           int height, int lift) {
  // A window nearly as tall as the area is not lifted past its top edge.
  const int y = area_y + (area_height - height) / 2 - lift;
  return {area_x + (area_width - width) / 2, y < area_y ? area_y : y};
}

}  // namespace brindle
