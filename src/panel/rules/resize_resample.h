#pragma once
// Resizing and resampling to a new resolution exclude each other in the settings panel: ticking
// one while the other is on is undone (or, for the resolution switch, undoes resampling) with a
// message (caption "提示", warning icon) and pointers at the switches concerned.

#include <optional>

#include "base/refusal.h"
#include "panel/values/panel_values.h"

namespace brindle {

// The user ticks the resize box. With "分辨率(DPI)：" and "重新采样" both on it is unticked again.
std::optional<Refusal> TickResize(PanelValues& panel);

// The user ticks "重新采样". With the resize box on it is unticked again.
std::optional<Refusal> TickResample(PanelValues& panel);

// The user ticks "分辨率(DPI)：". With the resize box and "重新采样" both on, "重新采样" is
// unticked.
std::optional<Refusal> TickDpi(PanelValues& panel);

}  // namespace brindle
