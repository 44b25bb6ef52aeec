#pragma once
// The settings panel's number boxes. Each follows one protocol: when it gets the focus it
// remembers its text; every change of the text is checked, and a refused text is reported and the
// last accepted text put back; when it is left, an empty box is handled and whether the text
// changed is told, so that an open effect preview can be refreshed.

#include <optional>
#include <string>
#include <string_view>

#include "base/refusal.h"
#include "panel/values/panel_values.h"

namespace brindle {

enum class NumberBox {
  kSize,
  kMaxFileSize,
  kTextHorizontalMargin,
  kTextVerticalMargin,
  kImageHorizontalMargin,
  kImageVerticalMargin,
  kPaddingLeftRight,
  kPaddingTopBottom,
  kTextRotation,
  kImageRotation,
  kTextSizeScale,
  kDpi,
};

// How many characters the size box takes: 4 in pixels (up to 9999), 6 in percent (999.99).
int SizeBoxMaxLength(ZoomUnit unit);

// The control a box is known by in refusals.
std::string_view NumberBoxControl(NumberBox box);

// The panel's text of the box.
std::string& NumberBoxText(PanelValues& panel, NumberBox box);

// What the box says of a text outside its range, naming the side or margin as typing one does;
// nothing for the boxes that say nothing.
std::optional<Refusal> RangeReport(const PanelValues& panel, NumberBox box);

enum class TypedVerdict {
  kAccepted,     // the text becomes the last accepted text
  kPutBack,      // reported; the last accepted text is put back, caret at the end, focus kept
  kLeftAsTyped,  // not accepted, but left in the box without a word (the rotation boxes)
};

struct TypedCheck {
  TypedVerdict verdict = TypedVerdict::kAccepted;
  std::optional<Refusal> report;
};

// The check of a text typed into a box; an empty text always passes. The size box's check follows
// the unit and names the side; the offset boxes name the margin their list is on.
TypedCheck CheckTypedText(const PanelValues& panel, NumberBox box, std::string_view text);

// One box from getting the focus to losing it.
class NumberBoxEdit {
 public:
  NumberBoxEdit(NumberBox box, std::string text);

  NumberBox box() const { return box_; }
  const std::string& focus_text() const { return focus_text_; }
  const std::string& accepted_text() const { return accepted_text_; }

  struct Change {
    std::string text;  // what the box shows afterwards
    std::optional<Refusal> report;
  };
  Change OnTextChanged(const PanelValues& panel, std::string_view text);

  struct Leave {
    std::string text;               // what the box shows afterwards ("0" for some empty boxes)
    std::optional<Refusal> report;  // an empty (or zero) box that must be filled; focus goes back
    bool changed = false;           // the text differs from the one it had with the focus
  };
  // main_window_shown: the size box's empty report is given only while the main window is shown.
  Leave OnLeft(const PanelValues& panel, std::string_view text, bool main_window_shown);

  // A spinner released: the box's text counts as its text at focus from now on.
  void TakeFocusText(std::string text) { focus_text_ = std::move(text); }

 private:
  NumberBox box_;
  std::string focus_text_;
  std::string accepted_text_;
};

}  // namespace brindle
