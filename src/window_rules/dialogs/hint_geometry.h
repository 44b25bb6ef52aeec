#pragma once
// Where the program's small windows stand: the folder chooser's least size, the preview tip's point
// beside the first picture, and a balloon hint with its tail pointing at its control.

namespace brindle {

struct Size2 {
  int width = 0;
  int height = 0;
};

struct Point2 {
  int x = 0;
  int y = 0;
};

struct Rect2 {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

// The folder chooser is at least 40 % of the usable screen's width and 55 % of its height.
Size2 FolderChooserSize(int usable_width, int usable_height, int width, int height);

// The preview tip points 50 pixels right of and 100 pixels below the first item's top-left corner,
// kept inside the list (a point on its last row or column at most).
inline constexpr int kPreviewTipRight = 50;
inline constexpr int kPreviewTipDown = 100;
Point2 PreviewTipPoint(const Rect2& first_item, int list_width, int list_height);

inline constexpr int kBalloonTail = 12;        // the tail's height
inline constexpr int kBalloonTailInset = 16;   // from the balloon's side to the tail's tip
inline constexpr int kBalloonTailHalfBase = 8;

struct BalloonPlace {
  int x = 0;  // the balloon's top-left corner, tail included
  int y = 0;
  bool tail_up = true;  // the balloon stands below its point, its tail on top
  int tail_x = 0;       // the tail's tip from the balloon's left side
};

// Places a balloon of `size` (tail included) so that its tail's tip is at `below` (the middle of
// the control's bottom edge) with the balloon underneath; when it does not fit under it on the
// screen, at `above` (the middle of the top edge) with the balloon on top. Either way the control
// itself is left uncovered; the balloon is moved sideways to stay on the screen while its tail
// keeps pointing at the control.
BalloonPlace PlaceBalloon(Point2 below, Point2 above, Size2 size, const Rect2& screen);

}  // namespace brindle
