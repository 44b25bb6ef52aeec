#pragma once
// A run-level refusal: input that keeps a run (or a save, or a preview) from starting. It says
// which control is at fault and what to show; the front end decides how: the desktop program as a
// balloon hint at the control plus a message box, brindle-cli by printing the texts. The settings
// panel uses the same value for input it refuses while the user types.

#include <string>
#include <utility>
#include <vector>

namespace brindle {

enum class MessageIcon { kNone, kInformation, kWarning, kError, kQuestion };

// Where the settings panel scrolls before the hint is shown.
enum class PanelScroll { kNone, kTop, kBottom };

// A balloon (title "看这里", warning icon) pointing at a control while the message box is open;
// it closes with the box.
struct PointerHint {
  std::string control;
  std::string text;
  bool operator==(const PointerHint&) const = default;
};

// Whether the user can mend what keeps the work from starting (a setting, a choice, a missing
// source), or the system failed at it (a folder could not be made).
enum class RefusalKind { kInput, kFailure };

struct Refusal {
  RefusalKind kind = RefusalKind::kInput;
  std::string control;     // the control's name, e.g. "save_folder_button"; the focus goes there
  std::string hint_title;  // balloon title, e.g. "看这里"; empty when no balloon is shown
  std::string hint_text;   // balloon text
  std::string message;     // message-box text; empty when no box is shown
  std::string caption;     // message-box caption, e.g. "提示"
  MessageIcon icon = MessageIcon::kNone;
  PanelScroll scroll = PanelScroll::kNone;
  bool take_focus = true;  // false for hints at controls that only point (a label, a choice)
  std::vector<PointerHint> pointers;  // shown before the message box, closed after it

  // The texts brindle-cli prints: the message, or the hint text when there is no message.
  std::string Text() const { return message.empty() ? hint_text : message; }
};

// A balloon hint at a control with a title and a text; the focus goes to the control unless
// take_focus is off.
inline Refusal HintRefusal(std::string control, std::string title, std::string text,
                           MessageIcon icon = MessageIcon::kWarning, bool take_focus = true) {
  Refusal refusal;
  refusal.control = std::move(control);
  refusal.hint_title = std::move(title);
  refusal.hint_text = std::move(text);
  refusal.icon = icon;
  refusal.take_focus = take_focus;
  return refusal;
}

}  // namespace brindle
