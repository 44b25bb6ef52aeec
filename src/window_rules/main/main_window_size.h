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

struct WindowCorner {
  int x = 0;
  int y = 0;
};

// Where a window of the given size stands centred on the usable area, raised by `lift` pixels
// above the middle (the program's own windows stand 26 pixels high, a plain dialog at 0), never
// above the area's top edge.
WindowCorner CentredCorner(int area_x, int area_y, int area_width, int area_height, int width,
                           int height, int lift);

}  // namespace brindle
