#pragma once
// The main window's first size: its client area from the screen it opens on.

namespace brindle {

struct ClientSize {
  int width = 0;
  int height = 0;
};

// The client width is 1260, or the screen's usable width less 8 on a screen not wider than that;
// the height steps down with the usable screen height so the window always fits.
ClientSize MainWindowClientSize(int usable_width, int usable_height);

}  // namespace brindle
