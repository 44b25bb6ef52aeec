#include "window_rules/widgets/picture_pane_geometry.h"

#include <algorithm>

#include "base/info_log.h"

namespace brindle {
namespace {

// One axis: centred when the drawn length fits with slack, else at the margin less the scroll.
int Place(int client, int drawn, int scroll) {
  return drawn + kPaneSlack < client ? (client - drawn) / 2 : kPaneMargin - scroll;
}

// a × b ÷ c rounded to the nearest, as the platform's MulDiv rounds.
long long MulDiv(long long a, long long b, long long c) { return (a * b * 2 + c) / (2 * c); }

constexpr int kUnknownDpi = 96;
constexpr int kHimetricPerInch = 2540;

}  // namespace

int NaturalLength(int pixels, int picture_dpi, int screen_dpi) {
  if (picture_dpi < 1) picture_dpi = kUnknownDpi;
  if (screen_dpi < 1) screen_dpi = kUnknownDpi;
  const long long himetric = MulDiv(pixels, kHimetricPerInch, picture_dpi);
  return static_cast<int>(std::max(1LL, MulDiv(himetric, screen_dpi, kHimetricPerInch)));
}

PaneLayout LayOutPane(int client_width, int client_height, int picture_width, int picture_height,
                      bool fit, int scroll_x, int scroll_y) {
  PaneLayout layout;
  layout.drawn_width = picture_width;
  layout.drawn_height = picture_height;
  if (fit && picture_width > 0 && picture_height > 0) {
    const int available_width = std::max(1, client_width - kPaneFitInset);
    const int available_height = std::max(1, client_height - kPaneFitInset);
    layout.zoom = std::min({1.0F, static_cast<float>(available_width) / picture_width,
                            static_cast<float>(available_height) / picture_height});
    if (layout.zoom < 1.0F) {
      layout.drawn_width = std::max(1, static_cast<int>(picture_width * layout.zoom));
      layout.drawn_height = std::max(1, static_cast<int>(picture_height * layout.zoom));
    }
  } else {
    layout.horizontal_bar = picture_width + kPaneSlack >= client_width;
    layout.vertical_bar = picture_height + kPaneSlack >= client_height;
  }
  layout.x = Place(client_width, layout.drawn_width, layout.horizontal_bar ? scroll_x : 0);
  layout.y = Place(client_height, layout.drawn_height, layout.vertical_bar ? scroll_y : 0);
  return layout;
}

bool DoubleClickTogglesFit(int client_width, int client_height, int picture_width,
                           int picture_height, bool fit) {
  const bool fits = picture_width + kPaneSlack < client_width &&
                    picture_height + kPaneSlack < client_height;
  return fit || !fits;
}

std::string TitleWithZoomNote(const std::string& title, float zoom) {
  std::string result = title.substr(0, title.find("【预览缩放: "));
  if (zoom < 1.0F) result += FormatMessage("【预览缩放: %d%%】", static_cast<int>(zoom * 100));
  return result;
}

}  // namespace brindle
