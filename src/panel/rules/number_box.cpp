#include "panel/rules/number_box.h"

#include <utility>

#include "panel/values/panel_controls.h"
#include "panel/values/panel_text.h"

namespace brindle {
namespace {

const char* BySide(int size_type, const char* width, const char* height, const char* other) {
  return size_type == 0 ? width : size_type == 1 ? height : other;
}

// Digits with at most one ".", starting with a digit.
bool IsDecimalText(std::string_view text) {
  if (text.empty() || text[0] < '0' || text[0] > '9') return false;
  bool point = false;
  for (char c : text) {
    if (c == '.') {
      if (point) return false;
      point = true;
    } else if (c < '0' || c > '9') {
      return false;
    }
  }
  return true;
}

Refusal TipAt(NumberBox box, const char* title, const char* text) {
  return HintRefusal(std::string(NumberBoxControl(box)), title, text);
}

Refusal ErrorBoxAt(NumberBox box, const char* message) {
  Refusal refusal;
  refusal.control = NumberBoxControl(box);
  refusal.message = message;
  refusal.caption = "提示";
  refusal.icon = MessageIcon::kError;
  return refusal;
}

// The message of an offset box: [0] for the first margin entry, [1] for the other.
const char* MarginMessage(int placement, const char* first, const char* second) {
  return placement == 1 ? first : second;
}

}  // namespace

std::optional<Refusal> RangeReport(const PanelValues& panel, NumberBox box) {
  switch (box) {
    case NumberBox::kSize:
      if (panel.zoom_unit == ZoomUnit::kPercent) {
        return TipAt(
            box, "提示",
            BySide(panel.size_type, "图片宽的取值范围: 1.0 - 999.9 (百分比)",
                   "图片高的取值范围: 1.0 - 999.9 (百分比)", "取值范围: 1.0 - 999.9 (百分比)"));
      }
      return TipAt(
          box, "提示",
          BySide(panel.size_type, "图片宽必须为整数,取值范围: 1 - 9999 (像素)",
                 "图片高必须为整数,取值范围: 1 - 9999 (像素)", "取值范围: 1 - 9999 (像素)"));
    case NumberBox::kMaxFileSize:
      return TipAt(box, "提示", "必须为整数,取值范围: 1 - 99999");
    case NumberBox::kTextHorizontalMargin:
      return ErrorBoxAt(box, MarginMessage(panel.text_placement.horizontal,
                                           "文字水印的左边距必须为整数,取值范围: 0 - 999",
                                           "文字水印的右边距必须为整数,取值范围: 0 - 999"));
    case NumberBox::kTextVerticalMargin:
      return ErrorBoxAt(box, MarginMessage(panel.text_placement.vertical,
                                           "文字水印的上边距必须为整数,取值范围: 0 - 999",
                                           "文字水印的下边距必须为整数,取值范围: 0 - 999"));
    case NumberBox::kImageHorizontalMargin:
      return ErrorBoxAt(box, MarginMessage(panel.image_placement.horizontal,
                                           "图片水印的左边距必须为整数,取值范围: 0 - 999",
                                           "图片水印的右边距必须为整数,取值范围: 0 - 999"));
    case NumberBox::kImageVerticalMargin:
      return ErrorBoxAt(box, MarginMessage(panel.image_placement.vertical,
                                           "图片水印的上边距必须为整数,取值范围: 0 - 999",
                                           "图片水印的下边距必须为整数,取值范围: 0 - 999"));
    case NumberBox::kPaddingLeftRight:
      return ErrorBoxAt(box, "文字水印的左右填充必须为整数,取值范围: 0 - 99");
    case NumberBox::kPaddingTopBottom:
      return ErrorBoxAt(box, "文字水印的上下填充必须为整数,取值范围: 0 - 99");
    case NumberBox::kTextRotation:
    case NumberBox::kImageRotation:
    case NumberBox::kTextSizeScale:
    case NumberBox::kDpi:
      break;
  }
  return std::nullopt;
}

namespace {

bool PassesTyping(const PanelValues& panel, NumberBox box, std::string_view text) {
  switch (box) {
    case NumberBox::kSize:
      if (panel.zoom_unit == ZoomUnit::kPercent) {
        if (!IsDecimalText(text)) return false;
        const double value = DecimalValue(text);
        return value >= 1.0 && value <= 999.99;
      }
      return IsDigitRun(text);
    case NumberBox::kTextSizeScale:
    case NumberBox::kDpi:
      return true;
    default:
      return IsDigitRun(text);
  }
}

// Boxes that are set to "0" when left empty.
bool ZeroWhenEmpty(NumberBox box) {
  switch (box) {
    case NumberBox::kTextHorizontalMargin:
    case NumberBox::kTextVerticalMargin:
    case NumberBox::kImageHorizontalMargin:
    case NumberBox::kImageVerticalMargin:
    case NumberBox::kPaddingLeftRight:
    case NumberBox::kPaddingTopBottom:
    case NumberBox::kTextRotation:
    case NumberBox::kImageRotation:
      return true;
    default:
      return false;
  }
}

}  // namespace

std::string& NumberBoxText(PanelValues& panel, NumberBox box) {
  switch (box) {
    case NumberBox::kSize:
      return panel.size_text;
    case NumberBox::kMaxFileSize:
      return panel.max_file_size_text;
    case NumberBox::kTextHorizontalMargin:
      return panel.text_placement.horizontal_margin;
    case NumberBox::kTextVerticalMargin:
      return panel.text_placement.vertical_margin;
    case NumberBox::kImageHorizontalMargin:
      return panel.image_placement.horizontal_margin;
    case NumberBox::kImageVerticalMargin:
      return panel.image_placement.vertical_margin;
    case NumberBox::kPaddingLeftRight:
      return panel.padding_left_right_text;
    case NumberBox::kPaddingTopBottom:
      return panel.padding_top_bottom_text;
    case NumberBox::kTextRotation:
      return panel.text_rotation_text;
    case NumberBox::kImageRotation:
      return panel.image_rotation_text;
    case NumberBox::kTextSizeScale:
      return panel.text_size_scale_text;
    case NumberBox::kDpi:
      break;
  }
  return panel.dpi_text;
}

int SizeBoxMaxLength(ZoomUnit unit) { return unit == ZoomUnit::kPixel ? 4 : 6; }

std::string_view NumberBoxControl(NumberBox box) {
  switch (box) {
    case NumberBox::kSize:
      return panel_control::kSizeBox;
    case NumberBox::kMaxFileSize:
      return panel_control::kMaxFileSizeBox;
    case NumberBox::kTextHorizontalMargin:
      return panel_control::kTextHorizontalMargin;
    case NumberBox::kTextVerticalMargin:
      return panel_control::kTextVerticalMargin;
    case NumberBox::kImageHorizontalMargin:
      return panel_control::kImageHorizontalMargin;
    case NumberBox::kImageVerticalMargin:
      return panel_control::kImageVerticalMargin;
    case NumberBox::kPaddingLeftRight:
      return panel_control::kPaddingLeftRight;
    case NumberBox::kPaddingTopBottom:
      return panel_control::kPaddingTopBottom;
    case NumberBox::kTextRotation:
      return panel_control::kTextRotation;
    case NumberBox::kImageRotation:
      return panel_control::kImageRotation;
    case NumberBox::kTextSizeScale:
      return panel_control::kTextSizeScaleBox;
    case NumberBox::kDpi:
      return panel_control::kDpiBox;
  }
  return {};
}

TypedCheck CheckTypedText(const PanelValues& panel, NumberBox box, std::string_view text) {
  if (text.empty() || PassesTyping(panel, box, text)) return {};
  if (box == NumberBox::kTextRotation || box == NumberBox::kImageRotation) {
    return {TypedVerdict::kLeftAsTyped, std::nullopt};
  }
  return {TypedVerdict::kPutBack, RangeReport(panel, box)};
}

NumberBoxEdit::NumberBoxEdit(NumberBox box, std::string text)
    : box_(box), focus_text_(text), accepted_text_(std::move(text)) {}

NumberBoxEdit::Change NumberBoxEdit::OnTextChanged(const PanelValues& panel,
                                                   std::string_view text) {
  TypedCheck check = CheckTypedText(panel, box_, text);
  switch (check.verdict) {
    case TypedVerdict::kAccepted:
      accepted_text_ = text;
      return {std::string(text), std::nullopt};
    case TypedVerdict::kLeftAsTyped:
      return {std::string(text), std::nullopt};
    case TypedVerdict::kPutBack:
      break;
  }
  return {accepted_text_, std::move(check.report)};
}

NumberBoxEdit::Leave NumberBoxEdit::OnLeft(const PanelValues& panel, std::string_view text,
                                           bool main_window_shown) {
  Leave leave;
  const bool zero_when_empty = ZeroWhenEmpty(box_);
  leave.text = text.empty() && zero_when_empty ? std::string("0") : std::string(text);
  if (text.empty()) {
    const bool must_have_value =
        (box_ == NumberBox::kSize && main_window_shown) ||
        (box_ == NumberBox::kMaxFileSize && panel.quality_mode == QualityMode::kMaxFileSize) ||
        box_ == NumberBox::kTextSizeScale;
    if (!zero_when_empty && must_have_value) leave.report = TipAt(box_, "请输入", "此项不能为空");
  } else if (box_ == NumberBox::kTextSizeScale && text == "0") {
    leave.report = TipAt(box_, "请重新输入", "此项不能为 0");
  }
  leave.changed = leave.text != focus_text_;
  return leave;
}

}  // namespace brindle
