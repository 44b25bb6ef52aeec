#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "engine/read/picture_read.h"
#include "platform/magick/magick_wand.h"
#include "support/test_support.h"

// brindle-cli batch with the text watermark: the font check refuses before anything is written,
// and the default recipe's "宋体" draws Chinese text on a machine that has no face of that name.

namespace brindle {
namespace {

namespace fs = std::filesystem;
using test::RunCli;
using test::TempFolder;

class BatchTextWatermarkTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::EnsureMagick();
    MagickWandPtr white = MakeMagickWand();
    PixelWandPtr fill = MakePixelWand("white");
    MagickNewImage(white.get(), 400, 300, fill.get());
    MagickSetImageFormat(white.get(), "JPEG");
    MagickSetImageCompressionQuality(white.get(), 95);
    std::string error;
    ASSERT_TRUE(WritePictureFile(white.get(), folder_ / "white.jpg", &error)) << error;
    fs::create_directory(folder_ / "out");
  }

  test::CommandResult Batch(std::vector<std::string> settings) {
    std::vector<std::string> args = {"batch", "--out", (folder_ / "out").string()};
    args.insert(args.end(), settings.begin(), settings.end());
    args.push_back((folder_ / "white.jpg").string());
    return RunCli(args);
  }

  TempFolder folder_;
};

TEST_F(BatchTextWatermarkTest, ChineseTextWithALatinFaceIsRefused) {
  test::CommandResult result = Batch({"bSYText=1", "sy_text=水印", "sy_text_fontName=DejaVu Sans"});
  EXPECT_EQ(result.status, 2);
  EXPECT_EQ(result.err,
            "当前选择的字体: 'DejaVu Sans' 不支持显示中文。\n\n"
            "请选择一个中文字体，例如：宋体, 楷体, 黑体。\n");
  EXPECT_TRUE(fs::is_empty(folder_ / "out"));
}

TEST_F(BatchTextWatermarkTest, AFaceOutsideTheCatalogueIsRefused) {
  // Helvetica is in ImageMagick's own font list where Ghostscript's fonts are installed; the
  // program still has no font file for it.
  for (const std::string face : {"Arial", "Helvetica"}) {
    test::CommandResult result =
        Batch({"bSYText=1", "sy_text=Brindle", "sy_text_fontName=" + face});
    EXPECT_EQ(result.status, 2) << face;
    EXPECT_EQ(result.err, "当前选择的字体: '" + face + "' 不受支持，请重新选择一个字体。\n");
    EXPECT_TRUE(fs::is_empty(folder_ / "out"));
    // The proportional size is refused the same way.
    result = Batch({"bSYText=1", "sy_text=Brindle", "sy_text_fontName=" + face,
                    "bTextSizeScale=1", "nTextSizeScaleValue=10"});
    EXPECT_EQ(result.status, 2) << face;
    EXPECT_EQ(result.err, "当前选择的字体: '" + face + "' 不受支持，请重新选择一个字体。\n");
  }
  test::CommandResult result;

  // With the text watermark off the face is not checked.
  result = Batch({"bSYText=0", "sy_text=Brindle", "sy_text_fontName=Arial"});
  EXPECT_EQ(result.status, 0) << result.err;
}

TEST_F(BatchTextWatermarkTest, TheDefaultRecipeDrawsChineseWithTheSongFace) {
  test::CommandResult result = Batch({"bSYText=1", "sy_text=水印文字"});
  ASSERT_EQ(result.status, 0) << result.err;
  MagickWandPtr out = ReadPicture(folder_ / "out" / "white.jpg");
  ASSERT_TRUE(out);
  ASSERT_EQ(MagickGetImageWidth(out.get()), 400u);
  // Black strokes at the bottom right, within the margins of 16; white elsewhere.
  std::vector<unsigned char> pixels(400 * 300);
  MagickExportImagePixels(out.get(), 0, 0, 400, 300, "I", CharPixel, pixels.data());
  std::array<int, 4> box{400, 300, -1, -1};
  for (int y = 0; y < 300; ++y) {
    for (int x = 0; x < 400; ++x) {
      if (pixels[y * 400 + x] > 128) continue;
      box = {std::min(box[0], x), std::min(box[1], y), std::max(box[2], x), std::max(box[3], y)};
    }
  }
  EXPECT_GT(box[0], 200);
  EXPECT_GT(box[1], 200);
  EXPECT_LE(box[2], 383);
  EXPECT_LE(box[3], 283);
  EXPECT_GT(box[2] - box[0], 100);  // four characters of about 34 pixels
}

TEST_F(BatchTextWatermarkTest, AnEmptyTextLeavesThePictureAlone) {
  test::CommandResult result =
      Batch({"bSYText=1", "sy_text=", "sy_text_fontName=Arial", "bQuanlity=1", "quanlity=95"});
  ASSERT_EQ(result.status, 0) << result.err;
  MagickWandPtr out = ReadPicture(folder_ / "out" / "white.jpg");
  ASSERT_TRUE(out);
  std::vector<unsigned char> pixels(400 * 300);
  MagickExportImagePixels(out.get(), 0, 0, 400, 300, "I", CharPixel, pixels.data());
  EXPECT_EQ(*std::min_element(pixels.begin(), pixels.end()), 255);
}

}  // namespace
}  // namespace brindle
