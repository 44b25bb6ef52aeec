// The settings panel's keys and the effect preview's reactions: arrow keys and Tab in the number
// boxes, which changes refresh the preview, its title and its stepping through the list.
#include <gtest/gtest.h>

#include <set>

#include "panel/values/panel_controls.h"
#include "window_rules/panel/number_box_step.h"
#include "window_rules/preview/effect_preview_rules.h"
#include "window_rules/preview/preview_refresh.h"

namespace brindle {
namespace {

std::string Step(const PanelValues& panel, NumberBox box, std::string_view text, bool up) {
  return StepNumberBox(panel, box, text, up).value_or("(not stepped)");
}

TEST(PanelKeys, ArrowsStepWithinEachBoxsRange) {
  PanelValues panel;
  EXPECT_EQ(Step(panel, NumberBox::kSize, "750", true), "749");
  EXPECT_EQ(Step(panel, NumberBox::kSize, "750", false), "751");
  EXPECT_EQ(Step(panel, NumberBox::kSize, "1", true), "1");
  EXPECT_EQ(Step(panel, NumberBox::kSize, "9999", false), "9999");
  EXPECT_EQ(Step(panel, NumberBox::kSize, "", true), "1");
  EXPECT_EQ(Step(panel, NumberBox::kSize, "999", false), "1000");
  EXPECT_EQ(Step(panel, NumberBox::kSize, "12345678", false), "1234567");  // read as 7 characters
  EXPECT_EQ(Step(panel, NumberBox::kPaddingLeftRight, "", true), "0");
  EXPECT_EQ(Step(panel, NumberBox::kPaddingTopBottom, "", false), "1");
  EXPECT_EQ(Step(panel, NumberBox::kPaddingTopBottom, "99", false), "99");
  EXPECT_EQ(Step(panel, NumberBox::kTextRotation, "0", true), "0");
  EXPECT_EQ(Step(panel, NumberBox::kImageRotation, "360", false), "360");
  EXPECT_EQ(Step(panel, NumberBox::kDpi, "65535", false), "65535");
  EXPECT_EQ(Step(panel, NumberBox::kDpi, "72", true), "71");
  EXPECT_EQ(Step(panel, NumberBox::kMaxFileSize, "99999", false), "99999");
  EXPECT_EQ(Step(panel, NumberBox::kMaxFileSize, "1", true), "1");
  EXPECT_FALSE(StepNumberBox(panel, NumberBox::kTextHorizontalMargin, "16", true));
  EXPECT_FALSE(StepNumberBox(panel, NumberBox::kTextSizeScale, "6", false));

  panel.zoom_unit = ZoomUnit::kPercent;
  EXPECT_EQ(Step(panel, NumberBox::kSize, "100.5", true), "99");
  EXPECT_EQ(Step(panel, NumberBox::kSize, "999", false), "999");

  EXPECT_EQ(TabPartner(NumberBox::kTextHorizontalMargin), NumberBox::kTextVerticalMargin);
  EXPECT_EQ(TabPartner(NumberBox::kImageVerticalMargin), NumberBox::kImageHorizontalMargin);
  EXPECT_EQ(TabPartner(NumberBox::kPaddingTopBottom), NumberBox::kPaddingLeftRight);
  EXPECT_FALSE(TabPartner(NumberBox::kSize));
  EXPECT_FALSE(TabPartner(NumberBox::kTextRotation));
}

TEST(PanelKeys, ChangesRefreshThePreviewOnlyWhenTheyCanShow) {
  PanelValues panel;  // size "750", no watermark text or picture, no resolution
  EXPECT_TRUE(ChangeRefreshesPreview(panel, PanelChange::kSizeType));
  EXPECT_FALSE(ChangeRefreshesPreview(panel, PanelChange::kZoomType));
  EXPECT_FALSE(ChangeRefreshesPreview(panel, PanelChange::kTextWatermark));
  EXPECT_FALSE(ChangeRefreshesPreview(panel, PanelChange::kImageWatermark));
  EXPECT_FALSE(ChangeRefreshesPreview(panel, PanelChange::kResample));
  EXPECT_TRUE(ChangeRefreshesPreview(panel, PanelChange::kAlways));
  EXPECT_FALSE(BoxRefreshesPreview(panel, NumberBox::kSize, false, false));
  EXPECT_TRUE(BoxRefreshesPreview(panel, NumberBox::kSize, false, true));
  EXPECT_TRUE(BoxRefreshesPreview(panel, NumberBox::kDpi, true, false));
  EXPECT_FALSE(BoxRefreshesPreview(panel, NumberBox::kPaddingLeftRight, true, true));
  EXPECT_TRUE(BoxRefreshesPreview(panel, NumberBox::kImageRotation, false, true));
  EXPECT_FALSE(BoxRefreshesPreview(panel, NumberBox::kImageRotation, true, false));

  panel.text = "  ";
  panel.size_text.clear();
  EXPECT_TRUE(ChangeRefreshesPreview(panel, PanelChange::kTextWatermark));
  EXPECT_FALSE(ChangeRefreshesPreview(panel, PanelChange::kTextSlider));
  EXPECT_FALSE(ChangeRefreshesPreview(panel, PanelChange::kTextSizeScaleType));
  EXPECT_FALSE(ChangeRefreshesPreview(panel, PanelChange::kResizeSwitch));
  EXPECT_TRUE(BoxRefreshesPreview(panel, NumberBox::kTextSizeScale, true, false));

  panel.image_path = "/logos/mark.png";
  panel.dpi_text = "300";
  EXPECT_TRUE(ChangeRefreshesPreview(panel, PanelChange::kImageWatermark));
  EXPECT_TRUE(ChangeRefreshesPreview(panel, PanelChange::kResample));
  EXPECT_TRUE(BoxRefreshesPreview(panel, NumberBox::kImageHorizontalMargin, true, false));
}

TEST(EffectPreview, TitleStepsAndHints) {
  EXPECT_EQ(PreviewWindowTitle(1, "a.jpg"), "Brindle图片批量处理工具(V13.7) - 效果预览 - a.jpg");
  EXPECT_EQ(PreviewWindowTitle(2, "照片.png"),
            "Brindle图片批量处理工具(V13.7) - "
            "效果预览(提示:按ESC退出预览,按方向键可预览上一张,下一张图片) - 照片.png");

  EXPECT_EQ(StepPreviewIndex(2, 3, true), 0);
  EXPECT_EQ(StepPreviewIndex(0, 3, false), 2);
  EXPECT_EQ(StepPreviewIndex(1, 3, false), 0);
  EXPECT_EQ(StepPreviewIndex(-1, 3, true), 0);
  EXPECT_EQ(StepPreviewIndex(-1, 3, false), 2);
  EXPECT_FALSE(StepPreviewIndex(0, 1, true));
  EXPECT_FALSE(StepPreviewIndex(-1, 0, false));

  const std::vector<HoverHint>& hints = PreviewHoverHints();
  ASSERT_EQ(hints.size(), 11u);
  std::set<std::string_view> controls;
  int arrow_hints = 0;
  for (const HoverHint& hint : hints) {
    controls.insert(hint.control);
    if (hint.text == "按方向键↑↓可修改此项。修改此项后，按回车键(Enter)使之生效。")
      ++arrow_hints;
    else
      EXPECT_EQ(hint.text, "修改此项后，按回车键(Enter)使之生效。");
  }
  EXPECT_EQ(controls.size(), 11u);
  EXPECT_EQ(arrow_hints, 6);
  EXPECT_TRUE(controls.count(panel_control::kText));
  EXPECT_TRUE(controls.count(panel_control::kMaxFileSizeBox));
}

}  // namespace
}  // namespace brindle
