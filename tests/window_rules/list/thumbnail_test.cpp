#include "window_rules/list/thumbnail.h"

#include <gtest/gtest.h>

#include "support/test_support.h"

namespace brindle {
namespace {

namespace fs = std::filesystem;

// The bounding box of the red pixels of a thumbnail.
struct Box {
  int left = kThumbnailSide, top = kThumbnailSide, right = -1, bottom = -1;
  int width() const { return right - left + 1; }
  int height() const { return bottom - top + 1; }
};

Box RedArea(const Thumbnail& thumbnail) {
  Box box;
  for (int y = 0; y < kThumbnailSide; ++y) {
    for (int x = 0; x < kThumbnailSide; ++x) {
      const std::uint8_t* p = &thumbnail.rgba[static_cast<std::size_t>((y * kThumbnailSide + x) * 4)];
      if (p[0] > 200 && p[1] < 60 && p[2] < 60) {
        box.left = std::min(box.left, x);
        box.top = std::min(box.top, y);
        box.right = std::max(box.right, x);
        box.bottom = std::max(box.bottom, y);
      }
    }
  }
  return box;
}

TEST(Thumbnail, FittedCentredTurnedAndFramed) {
  test::EnsureMagick();
  test::TempFolder folder;
  MagickWandPtr red = MakeMagickWand();
  PixelWandPtr colour = MakePixelWand("red");
  ASSERT_TRUE(MagickNewImage(red.get(), 200, 100, colour.get()));
  ASSERT_TRUE(MagickSetImageFormat(red.get(), "PNG"));
  ASSERT_TRUE(WritePictureFile(red.get(), folder / "red.png", nullptr));

  Thumbnail upright = MakeThumbnail(folder / "red.png", 0, false);
  ASSERT_EQ(upright.rgba.size(), 96u * 96u * 4u) << upright.failure;
  Box box = RedArea(upright);
  EXPECT_EQ(box.width(), 94);
  EXPECT_EQ(box.height(), 47);

  // One right turn: 47 wide and 94 high inside the one-pixel frame, the frame grey.
  Thumbnail turned = MakeThumbnail(folder / "red.png", 90, false);
  ASSERT_FALSE(turned.rgba.empty());
  box = RedArea(turned);
  EXPECT_EQ(box.width(), 47);
  EXPECT_EQ(box.height(), 94);
  EXPECT_EQ(box.top, 1);
  EXPECT_EQ((std::vector<int>{turned.rgba[0], turned.rgba[1], turned.rgba[2]}),
            (std::vector<int>{0xd4, 0xd0, 0xc8}));

  // Small pictures keep their size; animated and unreadable pictures fail with their log lines.
  EXPECT_EQ(FitThumbnail(30, 20).width, 30);
  EXPECT_EQ(FitThumbnail(100, 1000).width, 9);
  test::WriteAnimatedGif(folder / "moving.gif", 10, 10);
  EXPECT_EQ(MakeThumbnail(folder / "moving.gif", 0, false).failure,
            "不支持gif动画图片:\r\n" + (folder / "moving.gif").string());
  test::WriteFile(folder / "broken.jpg", "not a picture");
  EXPECT_EQ(MakeThumbnail(folder / "broken.jpg", 0, false).failure,
            "图片读取失败:\r\n" + (folder / "broken.jpg").string());
}

}  // namespace
}  // namespace brindle
