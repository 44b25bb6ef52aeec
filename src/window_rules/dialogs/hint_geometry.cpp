#include "window_rules/dialogs/hint_geometry.h"

#include <algorithm>

namespace brindle {

Size2 FolderChooserSize(int usable_width, int usable_height, int width, int height) {
  return {std::max(width, usable_width * 40 / 100), std::max(height, usable_height * 55 / 100)};
}

Point2 PreviewTipPoint(const Rect2& first_item, int list_width, int list_height) {
  const int x = first_item.x + kPreviewTipRight;
  const int y = first_item.y + kPreviewTipDown;
  return {std::clamp(x, 0, std::max(0, list_width - 1)),
          std::clamp(y, 0, std::max(0, list_height - 1))};
}

BalloonPlace PlaceBalloon(Point2 below, Point2 above, Size2 size, const Rect2& screen) {
  BalloonPlace place;
  const int screen_bottom = screen.y + screen.height;
  place.tail_up = below.y + size.height <= screen_bottom || above.y - size.height < screen.y;
  const Point2 tip = place.tail_up ? below : above;
  place.y = place.tail_up ? tip.y : tip.y - size.height;
  // The tail stands near the balloon's left side, unless that pushes the balloon off the screen.
  int x = tip.x - kBalloonTailInset;
  x = std::min(x, screen.x + screen.width - size.width);
  x = std::max(x, screen.x);
  place.x = x;
  const int lowest = kBalloonTailHalfBase + 2;
  const int highest = std::max(lowest, size.width - kBalloonTailHalfBase - 2);
  place.tail_x = std::clamp(tip.x - x, lowest, highest);
  return place;
}

}  // namespace brindle
