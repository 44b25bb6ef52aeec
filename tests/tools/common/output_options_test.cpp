#include "tools/common/output_options.h"

#include <gtest/gtest.h>

#include "tools/convert/convert_tool.h"
#include "tools/png/png_tool_resize.h"

namespace brindle {
namespace {

TEST(OutputOptions, QualityLabelNamesTheBand) {
  EXPECT_EQ(QualityLabel(90), "90(高)");
  EXPECT_EQ(QualityLabel(100), "100(高)");
  EXPECT_EQ(QualityLabel(89), "89(中)");
  EXPECT_EQ(QualityLabel(60), "60(中)");
  EXPECT_EQ(QualityLabel(59), "59(低)");
  EXPECT_EQ(QualityLabel(10), "10(低)");
}

TEST(OutputOptions, ColorListEntryOfAStoredCount) {
  EXPECT_EQ(Png8ColorCountEntry(16), 16);
  EXPECT_EQ(Png8ColorCountEntry(2), 2);
  EXPECT_EQ(Png8ColorCountEntry(256), 256);
  EXPECT_EQ(Png8ColorCountEntry(300), 256);
  EXPECT_EQ(Png8ColorCountEntry(1), 256);
  EXPECT_EQ(Png8ColorCountEntry(3), 256);  // no entry reads "3"
  EXPECT_EQ(Png8ColorCountEntry(-16), 256);
}

TEST(OutputOptions, LabelsThatFollowTheChoices) {
  EXPECT_EQ(
      KeepExtensionLabel(ToolOutputFormat::kJpg),
      "新的文件名保留原文件名的扩展名部分，举例：123.bmp 转换成 jpg 后新的文件名：123.bmp.jpg");
  EXPECT_EQ(
      KeepExtensionLabel(ToolOutputFormat::kPng),
      "新的文件名保留原文件名的扩展名部分，举例：123.bmp 转换成 png 后新的文件名：123.bmp.png");
  EXPECT_EQ(KeepProportionsLabel(PngZoomKind::kShrink, PngZoomSide::kWidth), "高度等比例缩小");
  EXPECT_EQ(KeepProportionsLabel(PngZoomKind::kShrink, PngZoomSide::kHeight), "宽度等比例缩小");
  EXPECT_EQ(KeepProportionsLabel(PngZoomKind::kEnlarge, PngZoomSide::kWidth), "高度等比例放大");
  EXPECT_EQ(KeepProportionsLabel(PngZoomKind::kEnlarge, PngZoomSide::kHeight), "宽度等比例放大");
  EXPECT_EQ(KeepProportionsLabel(PngZoomKind::kScale, PngZoomSide::kWidth), "高度等比例缩放");
  EXPECT_EQ(KeepProportionsLabel(PngZoomKind::kScale, PngZoomSide::kHeight), "宽度等比例缩放");
  EXPECT_EQ(OutputFormatText(ToolOutputFormat::kJpg), "JPG");
  EXPECT_EQ(OutputFormatText(ToolOutputFormat::kPng), "PNG");
}

}  // namespace
}  // namespace brindle
