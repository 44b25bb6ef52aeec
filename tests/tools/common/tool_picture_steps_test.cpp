#include "tools/common/tool_picture_steps.h"

#include <gtest/gtest.h>

#include "base/info_log.h"
#include "platform/text/text_encoding.h"
#include "support/test_support.h"
#include "tools/common/tool_test_pictures.h"

namespace brindle {
namespace {

namespace fs = std::filesystem;
using test::TempFolder;

TEST(ToolPictureSteps, JpegOutputTurnsCmykIntoSrgbAtTheQuality) {
  TempFolder folder;
  MagickWandPtr wand = test::MakePicture(40, 30, "PNG");
  MagickTransformImageColorspace(wand.get(), CMYKColorspace);
  RunMessage failure;
  ASSERT_TRUE(WriteToolJpeg(wand.get(), folder / "a.jpg", 77, failure));
  MagickWandPtr back = test::ReadBack(folder / "a.jpg");
  EXPECT_EQ(MagickGetImageColorspace(back.get()), sRGBColorspace);
  EXPECT_EQ(MagickGetImageCompressionQuality(back.get()), 77u);
}

TEST(ToolPictureSteps, PngOutputPlainOrPng8) {
  TempFolder folder;
  MagickWandPtr wand = test::MakePicture(40, 30, "JPEG");
  RunMessage failure;
  ASSERT_TRUE(WriteToolPng(wand.get(), folder / "plain.png", false, 256, 0, failure));
  EXPECT_NE(MagickGetImageType(test::ReadBack(folder / "plain.png").get()), PaletteType);
  ASSERT_TRUE(WriteToolPng(wand.get(), folder / "png8.png", true, 8, 0, failure));
  MagickWandPtr png8 = test::ReadBack(folder / "png8.png");
  EXPECT_LE(MagickGetImageColors(png8.get()), 8u);
}

TEST(ToolPictureSteps, FailedWritesSayWhy) {
  TempFolder folder;
  MagickWandPtr wand = test::MakePicture(40, 30, "PNG");
  RunMessage failure;
  fs::path target = folder / "missing" / "a.png";
  EXPECT_FALSE(WriteToolPicture(wand.get(), target, failure));
  EXPECT_EQ(failure, (RunMessage{"MagickWriteImage() 发生错误：\n\nNo such file or directory\n\n"
                                 "目标文件名：" +
                                     target.string() + "\n\n请检查内存或硬盘空间是否用完。",
                                 "错误", MessageIcon::kError}));

  InfoLog::Global().Clear();
  EXPECT_FALSE(WriteToolPng(wand.get(), target, true, 256, 259, failure));
  EXPECT_EQ(failure.text,
            "保存图片时发生错误，请检查硬盘空间是否用完。\n\n目标文件名：\n" + target.string());
  EXPECT_EQ(InfoLog::Global().Text().rfind("fopen('" + target.string() + "') error: 2(", 0), 0u);
}

TEST(ToolPictureSteps, Png8FailureShowsAtMost259BytesOfThePathAndNoHalfCharacter) {
  std::string name;
  for (int i = 0; i < 200; ++i) name += "图";
  fs::path target = "/tmp/xy/" + name + ".png";
  std::string shown = Png8WriteFailure(target, 259).text;
  std::string path_part = shown.substr(shown.rfind('\n') + 1);
  EXPECT_EQ(GbkLength(path_part), 258u);  // "/tmp/xy/" and 125 whole characters
  EXPECT_EQ(path_part, "/tmp/xy/" + name.substr(0, 3 * 125));
  EXPECT_EQ(Png8WriteFailure(target, 0).text.substr(shown.rfind('\n') + 1), target.string());
}

TEST(ToolPictureSteps, FlatteningOntoWhite) {
  TempFolder folder;
  test::WriteHalfTransparentPng(folder / "t.png", 40, 20);
  MagickWandPtr kept = test::ReadBack(folder / "t.png");
  FlattenOntoWhite(kept.get(), "PNG", false);
  EXPECT_EQ(test::AlphaAt(kept.get(), 5, 10), 0);

  MagickWandPtr flat = test::ReadBack(folder / "t.png");
  FlattenOntoWhite(flat.get(), "PNG", true);
  EXPECT_EQ(MagickGetImageAlphaChannel(flat.get()), MagickFalse);
  EXPECT_EQ(test::PixelAt(flat.get(), 5, 10), "255,255,255,255");
  EXPECT_EQ(test::PixelAt(flat.get(), 35, 10), "0,0,255,255");

  // A BMP source loses its alpha channel even when flattening is not asked for.
  MagickWandPtr bmp = test::ReadBack(folder / "t.png");
  FlattenOntoWhite(bmp.get(), "BMP", false);
  EXPECT_EQ(MagickGetImageAlphaChannel(bmp.get()), MagickFalse);
}

TEST(ToolPictureSteps, UnreadablePictureIsLogged) {
  TempFolder folder;
  InfoLog::Global().Clear();
  test::WriteFile(folder / "bad.png", "no picture");
  EXPECT_FALSE(ReadToolPicture(folder / "bad.png"));
  EXPECT_EQ(InfoLog::Global().Text(),
            "图片读取失败:\r\n" + (folder / "bad.png").string() + "\r\n\r\n");
  test::WritePicture(folder / "good.gif", 10, 10, "GIF");
  MagickWandPtr good = ReadToolPicture(folder / "good.gif");
  ASSERT_TRUE(good);
  EXPECT_EQ(PictureFormat(good.get()), "GIF");
}

}  // namespace
}  // namespace brindle
