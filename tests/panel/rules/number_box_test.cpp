#include "panel/rules/number_box.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace brindle {
namespace {

// What the box shows after each typed text, and the report of the last refused one.
struct Typing {
  std::vector<std::string> shown;
  std::optional<Refusal> report;
};

Typing Type(const PanelValues& panel, NumberBox box, std::string start,
            const std::vector<std::string>& texts) {
  NumberBoxEdit edit(box, std::move(start));
  Typing typing;
  for (const std::string& text : texts) {
    NumberBoxEdit::Change change = edit.OnTextChanged(panel, text);
    typing.shown.push_back(change.text);
    if (change.report) typing.report = change.report;
  }
  return typing;
}

TEST(NumberBox, SizeBoxWhileTyping) {
  PanelValues panel;
  Typing typing = Type(panel, NumberBox::kSize, "750", {"7", "7a", "", "3", "3.5"});
  EXPECT_EQ(typing.shown, (std::vector<std::string>{"7", "7", "", "3", "3"}));
  ASSERT_TRUE(typing.report);
  EXPECT_EQ(typing.report->control, "size_box");
  EXPECT_EQ(typing.report->hint_title, "提示");
  EXPECT_EQ(typing.report->hint_text, "图片宽必须为整数,取值范围: 1 - 9999 (像素)");

  panel.size_type = 3;
  EXPECT_EQ(Type(panel, NumberBox::kSize, "", {"x"}).report->hint_text,
            "取值范围: 1 - 9999 (像素)");

  panel.zoom_unit = ZoomUnit::kPercent;
  panel.size_type = 1;
  typing = Type(panel, NumberBox::kSize, "",
                {"1", "10", "100", "100.", "100.5", "1000", "1.", "1.2", "1.2.", "0"});
  EXPECT_EQ(typing.shown, (std::vector<std::string>{"1", "10", "100", "100.", "100.5", "100.5",
                                                    "1.", "1.2", "1.2", "1.2"}));
  EXPECT_EQ(typing.report->hint_text, "图片高的取值范围: 1.0 - 999.9 (百分比)");
}

TEST(NumberBox, ReportsOfTheOtherBoxes) {
  PanelValues panel;
  panel.text_placement.horizontal = 1;
  panel.image_placement.vertical = 2;
  struct Case {
    NumberBox box;
    std::string hint;
    std::string message;
  };
  const std::vector<Case> cases = {
      {NumberBox::kMaxFileSize, "必须为整数,取值范围: 1 - 99999", ""},
      {NumberBox::kTextHorizontalMargin, "", "文字水印的左边距必须为整数,取值范围: 0 - 999"},
      {NumberBox::kTextVerticalMargin, "", "文字水印的下边距必须为整数,取值范围: 0 - 999"},
      {NumberBox::kImageHorizontalMargin, "", "图片水印的右边距必须为整数,取值范围: 0 - 999"},
      {NumberBox::kImageVerticalMargin, "", "图片水印的下边距必须为整数,取值范围: 0 - 999"},
      {NumberBox::kPaddingLeftRight, "", "文字水印的左右填充必须为整数,取值范围: 0 - 99"},
      {NumberBox::kPaddingTopBottom, "", "文字水印的上下填充必须为整数,取值范围: 0 - 99"},
  };
  for (const Case& c : cases) {
    Typing typing = Type(panel, c.box, "12", {"12-"});
    EXPECT_EQ(typing.shown, std::vector<std::string>{"12"});
    ASSERT_TRUE(typing.report);
    EXPECT_EQ(typing.report->hint_text, c.hint);
    EXPECT_EQ(typing.report->message, c.message);
    if (!c.message.empty()) {
      EXPECT_EQ(typing.report->icon, MessageIcon::kError);
    }
  }
  // Rotation boxes keep what was typed without a word; the ratio and resolution boxes take all.
  for (NumberBox box : {NumberBox::kTextRotation, NumberBox::kImageRotation,
                        NumberBox::kTextSizeScale, NumberBox::kDpi}) {
    Typing typing = Type(panel, box, "4", {"-45"});
    EXPECT_EQ(typing.shown, std::vector<std::string>{"-45"});
    EXPECT_FALSE(typing.report);
  }
  EXPECT_EQ(CheckTypedText(panel, NumberBox::kTextRotation, "-4").verdict,
            TypedVerdict::kLeftAsTyped);
}

TEST(NumberBox, LeavingABox) {
  PanelValues panel;
  NumberBoxEdit offset(NumberBox::kTextHorizontalMargin, "16");
  NumberBoxEdit::Leave leave = offset.OnLeft(panel, "", true);
  EXPECT_EQ(leave.text, "0");
  EXPECT_TRUE(leave.changed);
  EXPECT_FALSE(leave.report);

  NumberBoxEdit size(NumberBox::kSize, "750");
  leave = size.OnLeft(panel, "", true);
  EXPECT_EQ(leave.text, "");
  ASSERT_TRUE(leave.report);
  EXPECT_EQ(leave.report->hint_title, "请输入");
  EXPECT_EQ(leave.report->hint_text, "此项不能为空");
  EXPECT_FALSE(size.OnLeft(panel, "", false).report);  // the main window is hidden
  EXPECT_FALSE(size.OnLeft(panel, "750", true).changed);

  // The file-size box only while it is shown.
  NumberBoxEdit file_size(NumberBox::kMaxFileSize, "128");
  EXPECT_FALSE(file_size.OnLeft(panel, "", true).report);
  panel.quality_mode = QualityMode::kMaxFileSize;
  EXPECT_TRUE(file_size.OnLeft(panel, "", true).report);

  NumberBoxEdit ratio(NumberBox::kTextSizeScale, "6");
  EXPECT_EQ(ratio.OnLeft(panel, "", true).report->hint_text, "此项不能为空");
  leave = ratio.OnLeft(panel, "0", true);
  EXPECT_EQ(leave.report->hint_title, "请重新输入");
  EXPECT_EQ(leave.report->hint_text, "此项不能为 0");

  NumberBoxEdit dpi(NumberBox::kDpi, "72");
  leave = dpi.OnLeft(panel, "", true);
  EXPECT_FALSE(leave.report);
  EXPECT_EQ(leave.text, "");
  EXPECT_TRUE(leave.changed);
}

}  // namespace
}  // namespace brindle
