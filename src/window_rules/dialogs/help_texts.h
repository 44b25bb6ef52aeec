#pragma once
// The F1 help texts of the settings panel's controls, the picture list and the effect preview.

#include <optional>
#include <string_view>
#include <vector>

namespace brindle {

// The help text of a control (by its name in src/panel/panel_controls.h, or
// window_control::kPictureList / kEffectPreview), lines separated by "\n"; nullopt for a control
// without one.
std::optional<std::string_view> HelpText(std::string_view control);

// Every control that has a help text (for tests and for the window's check that each named widget
// exists).
std::vector<std::string_view> HelpControls();

}  // namespace brindle
