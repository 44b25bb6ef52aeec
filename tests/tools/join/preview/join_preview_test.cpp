#include "tools/join/preview/join_preview.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "base/info_log.h"
#include "support/test_support.h"
#include "tools/common/tool_test_pictures.h"

namespace brindle {
namespace {

namespace fs = std::filesystem;

// The shown picture, decoded from the display copy.
MagickWandPtr Shown(const JoinPreview& preview) {
  MagickWandPtr wand = MakeMagickWand();
  EXPECT_TRUE(ReadPictureBytes(wand.get(), preview.display_jpeg, nullptr));
  return wand;
}

// The grey level at x, y (the display copy is a JPEG, so levels are near, not exact).
int GreyAt(MagickWand* wand, long x, long y) {
  PixelWandPtr pixel = MakePixelWand();
  MagickGetImagePixelColor(wand, x, y, pixel.get());
  return static_cast<int>(PixelGetGreen(pixel.get()) * 255 + 0.5);
}

std::vector<std::string> Texts(const std::vector<RunMessage>& messages) {
  std::vector<std::string> texts;
  for (const RunMessage& message : messages) texts.push_back(message.text);
  return texts;
}

class JoinPreviewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::EnsureMagick();
    InfoLog::Global().Clear();
    test::WriteSolid(folder_ / "wide.png", 64, 16, "#000000");
    test::WriteSolid(folder_ / "narrow.png", 32, 16, "#000000");
    request_.settings.picture_list_source = true;
    request_.pictures = {folder_ / "wide.png", folder_ / "narrow.png"};
  }
  test::TempFolder folder_;
  JoinPreviewRequest request_;
};

TEST_F(JoinPreviewTest, TransparencyShowsAsCheckerboardForPngAndWhiteForJpeg) {
  request_.settings.format = ToolOutputFormat::kPng;
  JoinPreview preview = MakeJoinPreview(request_);
  EXPECT_EQ(preview.status, "图片尺寸: 64 x 32");
  EXPECT_EQ(preview.status_detail, "");
  EXPECT_TRUE(preview.messages.empty());
  MagickWandPtr shown = Shown(preview);
  ASSERT_EQ(MagickGetImageHeight(shown.get()), 32u);
  // The 32-wide picture sits at x = 16; left of it the squares of the checkerboard (8 × 8, white
  // at the top-left) show.
  EXPECT_NEAR(GreyAt(shown.get(), 3, 19), 0xFF, 12);
  EXPECT_NEAR(GreyAt(shown.get(), 11, 19), 0xCC, 12);
  EXPECT_NEAR(GreyAt(shown.get(), 3, 27), 0xCC, 12);
  EXPECT_NEAR(GreyAt(shown.get(), 30, 24), 0, 12);

  request_.settings.transparent = false;
  shown = Shown(MakeJoinPreview(request_));
  EXPECT_NEAR(GreyAt(shown.get(), 11, 19), 0xFF, 12);

  request_.settings.format = ToolOutputFormat::kJpg;
  request_.settings.transparent = true;
  shown = Shown(MakeJoinPreview(request_));
  EXPECT_NEAR(GreyAt(shown.get(), 11, 19), 0xFF, 12);
}

TEST_F(JoinPreviewTest, Png8ShowsThePaletteResult) {
  test::WriteSolid(folder_ / "red.png", 32, 32, "#ff0000");
  test::WriteSolid(folder_ / "green.png", 32, 32, "#00ff00");
  test::WriteSolid(folder_ / "blue.png", 32, 32, "#0000ff");
  request_.pictures = {folder_ / "red.png", folder_ / "green.png", folder_ / "blue.png"};
  request_.settings.format = ToolOutputFormat::kPng;
  auto far_from_source = [&] {
    MagickWandPtr shown = Shown(MakeJoinPreview(request_));
    const char* expected[] = {"255,0,0", "0,255,0", "0,0,255"};
    int far = 0;
    for (int i = 0; i < 3; ++i) {
      std::string pixel = test::PixelAt(shown.get(), 16, 16 + 32 * i);
      int r = 0, g = 0, b = 0, er = 0, eg = 0, eb = 0;
      std::sscanf(pixel.c_str(), "%d,%d,%d", &r, &g, &b);
      std::sscanf(expected[i], "%d,%d,%d", &er, &eg, &eb);
      if (std::abs(r - er) + std::abs(g - eg) + std::abs(b - eb) > 90) ++far;
    }
    return far;
  };
  EXPECT_EQ(far_from_source(), 0);
  request_.settings.png8 = true;
  request_.settings.png8_color_count = 2;  // three colours cannot all stay
  EXPECT_GE(far_from_source(), 1);
}

TEST_F(JoinPreviewTest, SidesOver65500) {
  test::WriteSolid(folder_ / "long-a.png", 32751, 2, "#000000");
  test::WriteSolid(folder_ / "long-b.png", 32750, 2, "#000000");
  request_.pictures = {folder_ / "long-a.png", folder_ / "long-b.png"};
  request_.settings.layout = JoinLayout::kHorizontal;
  // JPEG: nothing is shown.
  JoinPreview preview = MakeJoinPreview(request_);
  EXPECT_TRUE(preview.display_jpeg.empty());
  EXPECT_EQ(preview.status, "图片尺寸: 65501 x 2");
  EXPECT_EQ(Texts(preview.messages),
            std::vector<std::string>{
                "预览失败:\n\n拼接后的图片宽度: 65501 像素，JPG格式支持的最大图片宽度 65500 "
                "像素。\n\n请将拼接后的图片宽度控制在 65500 像素内或选择保存为PNG格式。"});
  // PNG: the top-left 65500 pixels are shown, with the warning.
  request_.settings.format = ToolOutputFormat::kPng;
  preview = MakeJoinPreview(request_);
  EXPECT_EQ(preview.width, 65500);
  EXPECT_EQ(preview.height, 2);
  EXPECT_EQ(Texts(preview.messages),
            std::vector<std::string>{
                "拼接后的图片尺寸: 65501 x 2，超出可预览的最大尺寸。\n当前预览显示的是拼接后的部分"
                "内容，尺寸: 65500 x 2。\n\n最终生成的拼接图片不会受此影响。"});
}

TEST_F(JoinPreviewTest, APngLongerThanEverydayPicturesIsShownInPartAndOneTooLargeIsRefused) {
  test::WriteSolid(folder_ / "long-a.png", 40000, 2, "#000000");
  test::WriteSolid(folder_ / "long-b.png", 40000, 2, "#ffffff");
  request_.pictures = {folder_ / "long-a.png", folder_ / "long-b.png"};
  request_.settings.layout = JoinLayout::kHorizontal;
  request_.settings.format = ToolOutputFormat::kPng;
  JoinPreview preview = MakeJoinPreview(request_);
  EXPECT_EQ(preview.status, "图片尺寸: 80000 x 2");
  EXPECT_EQ(preview.width, 65500);
  ASSERT_EQ(preview.messages.size(), 1u);
  EXPECT_EQ(preview.messages.front().caption, "提示");

  // 26 pictures of 40000 make 1040000 pixels: beyond what a PNG can be written at.
  request_.pictures.assign(26, folder_ / "long-a.png");
  preview = MakeJoinPreview(request_);
  EXPECT_TRUE(preview.display_jpeg.empty());
  EXPECT_EQ(preview.status, "图片尺寸: 1040000 x 2");
  EXPECT_EQ(Texts(preview.messages),
            std::vector<std::string>{
                "预览失败:\n\n拼接后的图片尺寸: 1040000 x 2 像素, 支持的最大PNG图片: 宽和高各不超过 "
                "1000000 像素, 且总共不超过 536870912 像素。\n\n请减少图片的数量或设置较小的图片"
                "宽度(高度)。"});
}

TEST_F(JoinPreviewTest, FolderModeSearchesForAGroupThatComposes) {
  for (const char* name : {"g0", "g1", "g2"}) fs::create_directories(folder_ / name);
  test::WriteFile(folder_ / "g0/a.png", "broken");
  test::WriteFile(folder_ / "g0/b.png", "broken");
  test::WriteSolid(folder_ / "g1/a.png", 10, 10, "#000000");
  test::WriteSolid(folder_ / "g1/b.png", 10, 10, "#000000");
  test::WriteSolid(folder_ / "g2/a.png", 20, 10, "#000000");
  test::WriteSolid(folder_ / "g2/b.png", 20, 10, "#000000");
  request_.settings.picture_list_source = false;
  request_.groups = {folder_ / "g0", folder_ / "g1", folder_ / "g2"};

  JoinPreview preview = MakeJoinPreview(request_);  // forward from g0
  EXPECT_EQ(preview.current_group, 1);
  EXPECT_EQ(preview.status, "图片尺寸: 10 x 20");
  EXPECT_EQ(preview.status_detail, "文件夹: " + (folder_ / "g1").string());
  request_.search = JoinPreviewSearch::kBackward;  // back from g0 wraps to the last group
  EXPECT_EQ(MakeJoinPreview(request_).current_group, 2);
  request_.current_group = 7;  // out of range: back to 0
  EXPECT_EQ(MakeJoinPreview(request_).current_group, 2);

  // No group composes: a 1 × 1 white picture and the warning for the current group.
  request_.groups = {folder_ / "g0"};
  request_.current_group = 0;
  preview = MakeJoinPreview(request_);
  EXPECT_EQ(preview.status, "图片尺寸: 1 x 1");
  EXPECT_EQ(preview.width, 1);
  EXPECT_EQ(Texts(preview.messages),
            std::vector<std::string>{"在文件夹 " + (folder_ / "g0").string() +
                                     " 中没有找到需要拼接的图片！"});
}

TEST_F(JoinPreviewTest, NothingToShowAndThePlaceholder) {
  request_.pictures.pop_back();
  JoinPreview preview = MakeJoinPreview(request_);
  EXPECT_TRUE(preview.display_jpeg.empty());
  EXPECT_EQ(preview.status, "就绪...");

  request_.settings.close_preview = true;
  request_.pictures = {folder_ / "wide.png", folder_ / "narrow.png"};
  preview = MakeJoinPreview(request_);
  EXPECT_EQ(preview.status, "就绪...");
  EXPECT_EQ(preview.width, 279);
  EXPECT_EQ(preview.height, 75);
  MagickWandPtr shown = Shown(preview);
  EXPECT_NEAR(GreyAt(shown.get(), 2, 2), 0xFF, 12);  // white around the black text
  double mean = 0, deviation = 0;
  MagickGetImageChannelMean(shown.get(), DefaultChannels, &mean, &deviation);
  EXPECT_LT(mean / QuantumRange, 0.97);  // some of it is text
}

}  // namespace
}  // namespace brindle
