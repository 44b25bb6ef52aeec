#pragma once
// A run-level refusal: input that keeps a run (or a save, or a preview) from starting. It says
// which control is at fault and what to show; the front end decides how: the desktop program as a
// balloon hint at the control plus a message box, brindle-cli by printing the texts.

#include <string>

namespace brindle {

enum class MessageIcon { kNone, kInformation, kWarning, kError, kQuestion };

// Where the settings panel scrolls before the hint is shown.
enum class PanelScroll { kNone, kTop, kBottom };

struct Refusal {
  std::string control;     // the control's name, e.g. "save_folder_button"; the focus goes there
  std::string hint_title;  // balloon title, e.g. "看这里"; empty when no balloon is shown
  std::string hint_text;   // balloon text
  std::string message;     // message-box text; empty when no box is shown
  std::string caption;     // message-box caption, e.g. "提示"
  MessageIcon icon = MessageIcon::kNone;
  PanelScroll scroll = PanelScroll::kNone;
  bool take_focus = true;  // false for hints at controls that only point (a label, a choice)

  // The texts brindle-cli prints: the message, or the hint text when there is no message.
  std::string Text() const { return message.empty() ? hint_text : message; }
};

}  // namespace brindle
