#pragma once
// Where the picture pane (the picture viewer, the crop and join previews) draws its picture: at
// natural size with scrolling, or shrunk to fit after a double click, and the zoom note the owning
// window's title carries.

#include <string>

namespace brindle {

inline constexpr int kPaneMargin = 8;     // around a scrolled picture
inline constexpr int kPaneSlack = 15;     // before a picture counts as not fitting
inline constexpr int kPaneFitInset = 16;  // taken off the client size in fit mode
inline constexpr int kPaneWheelStep = 50;

struct PaneLayout {
  float zoom = 1.0F;
  int drawn_width = 0;
  int drawn_height = 0;
  int x = 0;  // the picture's top-left corner in the pane
  int y = 0;
  bool horizontal_bar = false;  // with range 0 .. picture width + 17, page = client width
  bool vertical_bar = false;
};

// client: the pane's size; picture: the picture's size; scroll: the scroll positions.
PaneLayout LayOutPane(int client_width, int client_height, int picture_width, int picture_height,
                      bool fit, int scroll_x, int scroll_y);

// A double click toggles fit mode, except on a picture that fits at natural size with fit off.
bool DoubleClickTogglesFit(int client_width, int client_height, int picture_width,
                           int picture_height, bool fit);

// A picture's length in screen pixels: its physical length (pixels at the picture's own pixels per
// inch, in hundredths of a millimetre) at the screen's pixels per inch, each step rounded as a
// multiply-then-divide does. A resolution below 1 counts as 96.
int NaturalLength(int pixels, int picture_dpi, int screen_dpi);

// The title cut at its zoom note, with "【预览缩放: N%】" appended when the zoom is below 1.
std::string TitleWithZoomNote(const std::string& title, float zoom);

}  // namespace brindle
