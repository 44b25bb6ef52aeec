// brindle-cli batch validates its recipe as the desktop program's panel does: the recipe is shown
// in the panel the way a loaded recipe file is, then checked; a refusal prints the panel's text and
// nothing is written.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/batch_command_fixture.h"

namespace brindle::batch_test {
namespace {

TEST_F(BatchCommand, PanelRefusalsExitTwoWithTheirTexts) {
  fs::path in = Folder("in");
  fs::path picture = Picture(in / "a.png", 10, 8, "PNG");
  fs::path out = Folder("out");
  test::WriteAnimatedGif(in / "moving.gif", 12, 8);

  struct Case {
    std::vector<std::string> settings;
    std::string err;
  };
  const std::vector<Case> cases = {
      {{"bSize=1", "sizeValue=0"}, "图片宽不能为 0"},
      {{"bSize=1", "zoomUnit=1", "sizeType=1", "fSizeValue=1000"},
       "图片高的取值范围: 1.0 - 999.9 (百分比)"},
      {{"bSize=1", "zoomUnit=1", "fSizeValue=0.5"}, "图片宽的取值范围: 1.0 - 999.9 (百分比)"},
      // Values a recipe can hold but the boxes cannot take get the boxes' own range texts.
      {{"bSize=1", "sizeValue=12000"}, "图片宽必须为整数,取值范围: 1 - 9999 (像素)"},
      {{"bSYText=1", "sy_text=abc", "sy_text_h_direction=1", "sy_text_h_value=1000"},
       "文字水印的上边距必须为整数,取值范围: 0 - 999"},
      {{"bSYText=1", "sy_text=abc", "sy_text_padding_left_right=100"},
       "文字水印的左右填充必须为整数,取值范围: 0 - 99"},
      {{"bQuanlity=1", "qualityMode=1", "maxFileSize=0"}, "此项不能为空"},
      {{"bSYText=1", "sy_text=abc", "bTextSizeScale=1", "nTextSizeScaleValue=0"},
       "文字大小按比例缩放的值不能为 0"},
      {{"bSYImage=1", "sy_image=" + (in / "gone.png").string()}, "水印图片不存在，请重新选择"},
      {{"bSYImage=1", "sy_image=" + (in / "moving.gif").string()}, "水印图片格式不对，请重新选择"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = {"--out", out.string()};
    args.insert(args.end(), c.settings.begin(), c.settings.end());
    args.push_back(picture.string());
    CommandResult result = Batch(args);
    EXPECT_EQ(result.status, 2) << c.err;
    EXPECT_EQ(result.err, c.err + "\n");
  }
  EXPECT_TRUE(FilesIn(out).empty());
}

TEST_F(BatchCommand, RecipeValuesAreShownAsTheLoadedPanelShowsThem) {
  fs::path picture = Picture(work_ / "in" / "a.png", 10, 8, "PNG");
  // 999.99 % is the top of the range; a resolution beyond 65535 shows an empty box, which means
  // "not set".
  fs::path out = Folder("out");
  CommandResult result = Batch({"--out", out.string(), "bSize=1", "zoomUnit=1", "fSizeValue=999.99",
                                "bDpi=1", "dpi=70000", picture.string()});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.err, "");
  ReadBack written = Read(out / "a.jpg");
  EXPECT_EQ(SizeOf(out / "a.jpg"), "100x80");
  double x = 0, y = 0;
  MagickGetImageResolution(written.wand.get(), &x, &y);
  EXPECT_LT(x, 70000);

  // A font size that is not a size is drawn at 26.
  fs::path photo = Picture(work_ / "in" / "photo.png", 300, 120, "PNG");
  auto drawn = [&](const std::string& font_size) {
    fs::path folder = Folder("size" + font_size);
    CommandResult run =
        Batch({"--out", folder.string(), "bSYText=1", "sy_text=Brindle",
               "sy_text_fontName=DejaVu Sans", "sy_text_fontSize=" + font_size, photo.string()});
    EXPECT_EQ(run.status, 0) << run.err;
    return test::ReadFile(folder / "photo.jpg");
  };
  const std::string at_26 = drawn("26");
  EXPECT_EQ(drawn("-5"), at_26);
  EXPECT_NE(drawn("14"), at_26);
}

}  // namespace
}  // namespace brindle::batch_test
