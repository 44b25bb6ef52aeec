#pragma once
// The settings panel's value controls in one table: each control's object name, the value of the
// panel it shows, and the change it tells when the user alters it. The same rows show the values
// (writing the widgets without reacting) and read the user's changes back (writing the value, then
// the change told). What a row cannot say (enabled states, group heights, the font list, the
// number boxes with their own rules) stays in the panel's code.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "panel/values/panel_values.h"
#include "window_rules/preview/preview_refresh.h"

namespace brindle {

// One value control; exactly one of flag, number and text is set, by the control's kind:
// - flag: a check box, radio button, tool button or a group's title box;
// - number: a slider, or a list by the index of its choice;
// - text: an editable list by its text, or (step > 0) a list of numbers whose entry i stands for
//   the number i × step, the value holding the number's text.
struct PanelBinding {
  std::string_view name;
  std::function<bool&(PanelValues&)> flag;
  std::function<int&(PanelValues&)> number;
  std::function<std::string&(PanelValues&)> text;
  int step = 0;
  std::optional<PanelChange> change;
  // The caption beside a slider follows its thumb with this text.
  std::string (*caption)(int) = nullptr;
  // The user's change goes through a rule of the panel's own code (a refusal to show, a focus to
  // move) instead of being written as it is; the row still shows the value.
  bool by_rule = false;
};

// Every value control of the panel, group by group.
const std::vector<PanelBinding>& PanelBindings();

}  // namespace brindle
