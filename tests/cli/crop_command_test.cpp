#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/magick/magick_wand.h"
#include "support/test_support.h"
#include "tools/common/tool_test_pictures.h"

namespace brindle {
namespace {

namespace fs = std::filesystem;
using test::RunCli;
using test::TempFolder;
using Size = std::pair<size_t, size_t>;

Size SizeOf(const fs::path& path) {
  test::EnsureMagick();
  MagickWandPtr wand = MakeMagickWand();
  EXPECT_TRUE(ReadPictureFile(wand.get(), path, nullptr)) << path;
  return {MagickGetImageWidth(wand.get()), MagickGetImageHeight(wand.get())};
}

// True when the "r,g,b,a" pixel is within a JPEG encoding's reach of the colour.
::testing::AssertionResult Near(const std::string& pixel, std::array<int, 3> colour) {
  std::array<int, 3> actual{};
  if (std::sscanf(pixel.c_str(), "%d,%d,%d", &actual[0], &actual[1], &actual[2]) != 3) {
    return ::testing::AssertionFailure() << pixel;
  }
  for (std::size_t i = 0; i < 3; ++i) {
    if (std::abs(actual[i] - colour[i]) > 8) return ::testing::AssertionFailure() << pixel;
  }
  return ::testing::AssertionSuccess();
}

class CropCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    source = folder / "pics";
    fs::create_directory(source);
  }
  TempFolder folder;
  fs::path source;
};

TEST_F(CropCommandTest, FolderModeIntoTheDefaultOutputFolder) {
  test::WritePicture(source / "x.png", 192, 108, "PNG");
  test::WritePicture(source / "x.gif", 192, 108, "GIF");
  test::WritePicture(source / "skip.tif", 192, 108, "TIFF");
  fs::create_directory(source / "sub");
  test::WritePicture(source / "sub/y.bmp", 160, 120, "BMP");
  test::CommandResult result = RunCli({"crop", "--source", source.string(), "--recursive",
                                       "crop_mode=2", "crop_ratio_width=4", "crop_ratio_height=3"});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.err, "");
  const fs::path out = folder / "pics_处理后";
  EXPECT_EQ(test::EntriesIn(out),
            (std::vector<std::string>{"sub", "sub/y.jpg", "x(2).jpg", "x.jpg"}));
  EXPECT_EQ(SizeOf(out / "x.jpg"), (Size{144, 108}));
  EXPECT_EQ(SizeOf(out / "sub/y.jpg"), (Size{160, 120}));  // already 4:3
}

TEST_F(CropCommandTest, ListModeWithKeepFormatAndOverwrite) {
  test::WritePicture(source / "a.PNG", 100, 100, "PNG");
  test::WritePicture(source / "b.jpeg", 100, 100, "JPEG");
  test::WriteFile(source / "broken.gif", "GIF89a");
  const fs::path out = folder / "out";
  const std::vector<std::string> files = {(source / "a.PNG").string(), (source / "b.jpeg").string(),
                                          (source / "a.PNG").string()};  // added once
  std::vector<std::string> args = {"crop",
                                   "--out",
                                   out.string(),
                                   "--keep-format",
                                   "crop_mode=3",
                                   "crop_side_unit=1",
                                   "crop_side_percent_left=50"};
  args.insert(args.end(), files.begin(), files.end());
  test::CommandResult kept = RunCli(args);
  EXPECT_EQ(kept.status, 0) << kept.err;
  EXPECT_EQ(test::EntriesIn(out), (std::vector<std::string>{"a.PNG", "b.jpeg"}));
  EXPECT_EQ(SizeOf(out / "a.PNG"), (Size{50, 100}));

  test::CommandResult overwritten =
      RunCli({"crop", "--overwrite", "crop_fixed_height=40", "--", (source / "b.jpeg").string(),
              (source / "broken.gif").string()});
  EXPECT_EQ(overwritten.status, 1);
  EXPECT_EQ(overwritten.err, "无法识别的图片:\n" + (source / "broken.gif").string() + "\n\n");
  EXPECT_EQ(SizeOf(source / "b.jpeg"), (Size{100, 40}));
  EXPECT_EQ(test::EntriesIn(source), (std::vector<std::string>{"a.PNG", "b.jpeg", "broken.gif"}));
}

TEST_F(CropCommandTest, PreviewWritesWhatTheWindowShowsAndPrintsTheStatus) {
  test::WriteFile(source / "broken.jpg", "not a picture");
  {
    test::EnsureMagick();
    MagickWandPtr flat = MakeMagickWand();
    PixelWandPtr colour = MakePixelWand("#3080C0");
    MagickNewImage(flat.get(), 200, 100, colour.get());
    MagickSetImageFormat(flat.get(), "PNG");
    ASSERT_TRUE(WritePictureFile(flat.get(), source / "good.png", nullptr));
  }
  const fs::path png = folder / "preview.png";
  test::CommandResult first =
      RunCli({"crop", "--preview", png.string(), "--source", source.string(),
              "crop_fixed_width=100", "crop_fixed_height=50"});
  EXPECT_EQ(first.status, 1);  // the first picture of the list was skipped
  EXPECT_EQ(first.err, "无法识别的图片:\n" + (source / "broken.jpg").string() + "\n\n");
  EXPECT_EQ(first.out, "原图尺寸: 200 x 100\n裁剪后图片尺寸: 100 x 50\n图片: " +
                           (source / "good.png").string() + "\n");
  EXPECT_EQ(SizeOf(png), (Size{200, 100}));
  EXPECT_EQ(test::ReadFile(png).substr(1, 3), "PNG");
  // Darkened outside the rectangle, framed in light grey, the picture's own colour inside.
  MagickWandPtr shown = test::ReadBack(png);
  EXPECT_EQ(test::PixelAt(shown.get(), 5, 5), "0,0,38,255");
  EXPECT_TRUE(Near(test::PixelAt(shown.get(), 100, 25), {204, 204, 204}));
  EXPECT_TRUE(Near(test::PixelAt(shown.get(), 100, 50), {48, 128, 192}));

  const fs::path jpg = folder / "preview.JPG";
  test::CommandResult second = RunCli(
      {"crop", "--preview", jpg.string(), (source / "good.png").string(), "crop_fixed_width=300"});
  EXPECT_EQ(second.status, 0) << second.err;
  EXPECT_EQ(test::ReadFile(jpg).substr(0, 2), "\xff\xd8");
  EXPECT_EQ(second.out.substr(0, second.out.find("图片:")),
            "原图尺寸: 200 x 100\n裁剪后图片尺寸: 200 x 100\n");

  test::CommandResult none = RunCli(
      {"crop", "--preview", png.string(), (source / "broken.jpg").string(), "crop_fixed_width=1"});
  EXPECT_EQ(none.status, 1);
  EXPECT_NE(none.err.find("没有找到需要裁剪的图片！"), std::string::npos);
  EXPECT_EQ(none.out, "就绪...\n生成预览图片...\n\n");
  EXPECT_EQ(SizeOf(png), (Size{1, 1}));
}

TEST_F(CropCommandTest, Refusals) {
  test::WritePicture(source / "a.tif", 10, 10, "TIFF");  // not taken from a folder
  const std::string src = source.string();
  struct Case {
    std::vector<std::string> args;
    std::string err;
  };
  const std::vector<Case> cases = {
      {{"crop", "crop_fixed_width=5"}, "源图片文件夹不能为空\n"},
      {{"crop", "crop_source_type=1"}, "当前源图片列表为空\n"},
      {{"crop", "--source", src}, "宽与高至少填写一项\n"},
      {{"crop", "--source", src, "crop_mode=2", "crop_ratio_width=4"}, "这里不能为空\n"},
      {{"crop", (source / "a.tif").string(), "crop_fixed_width=5"},
       "请选择图片处理后保存到的位置\n"},
      {{"crop", "--source", src, "crop_fixed_width=5"},
       "文件夹 " + src + " 中没有可裁剪的图片，请重新选择。\n"},
      {{"crop", "--source", src, "crop_moed=1"}, "未知的设置项: crop_moed\n"},
  };
  for (const Case& c : cases) {
    test::CommandResult result = RunCli(c.args);
    EXPECT_EQ(result.status, 2) << c.args.back();
    EXPECT_EQ(result.err, c.err) << c.args.back();
  }
  for (std::vector<std::string> usage :
       {std::vector<std::string>{"crop", "--source", src, (source / "a.tif").string()},
        {"crop", "--preview", (folder / "p.gif").string(), "--source", src},
        {"crop", "--source", src, "--out", "x", "--overwrite"},
        {"crop", "--preview", (folder / "p.png").string(), "--out", "x", "--source", src}}) {
    test::CommandResult result = RunCli(usage);
    EXPECT_EQ(result.status, 2) << usage[2];
    EXPECT_NE(result.err.find("用法: brindle-cli crop"), std::string::npos) << usage[2];
  }
  EXPECT_EQ(RunCli({"crop", "--help"}).out.rfind("用法: brindle-cli crop (--source DIR", 0), 0u);
}

}  // namespace
}  // namespace brindle
