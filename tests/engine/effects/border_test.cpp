#include "engine/effects/border.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>

#include "engine/effects/tone.h"
#include "support/test_support.h"

namespace brindle {
namespace {

std::array<int, 3> PixelAt(MagickWand* wand, ssize_t x, ssize_t y) {
  PixelWandPtr pixel = MakePixelWand();
  MagickGetImagePixelColor(wand, x, y, pixel.get());
  return {static_cast<int>(std::lround(PixelGetRed(pixel.get()) * 255)),
          static_cast<int>(std::lround(PixelGetGreen(pixel.get()) * 255)),
          static_cast<int>(std::lround(PixelGetBlue(pixel.get()) * 255))};
}

constexpr std::array<int, 3> kWhite = {255, 255, 255};
constexpr std::array<int, 3> kRed = {255, 0, 0};
constexpr std::int32_t kRedBgr = 0x0000FF;  // 0x00BBGGRR

class BorderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::EnsureMagick();
    options_.bBorder = 1;
    options_.border_size = 3;
    options_.border_padding = 5;
    options_.border_color = kRedBgr;
  }

  ProcessingOptions options_{};
  MagickWandPtr picture_ = test::MakePicture(800, 600, "PNG");
};

TEST_F(BorderTest, OutsideBorderGrowsThePictureByBothFrames) {
  MagickWandPtr original(CloneMagickWand(picture_.get()));
  ApplyBorder(picture_.get(), options_);
  ASSERT_EQ(MagickGetImageWidth(picture_.get()), 816u);
  ASSERT_EQ(MagickGetImageHeight(picture_.get()), 616u);
  // A 3-pixel red frame, then a 5-pixel white frame, then the picture as it was.
  for (ssize_t d : {0, 2}) {
    EXPECT_EQ(PixelAt(picture_.get(), d, 300), kRed) << d;
    EXPECT_EQ(PixelAt(picture_.get(), 815 - d, 615 - d), kRed) << d;
  }
  for (ssize_t d : {3, 7}) {
    EXPECT_EQ(PixelAt(picture_.get(), d, 300), kWhite) << d;
    EXPECT_EQ(PixelAt(picture_.get(), 400, 615 - d), kWhite) << d;
  }
  for (auto [x, y] : {std::pair<ssize_t, ssize_t>{0, 0}, {100, 500}, {799, 599}}) {
    EXPECT_EQ(PixelAt(picture_.get(), x + 8, y + 8), PixelAt(original.get(), x, y));
  }
}

TEST_F(BorderTest, InsideBorderKeepsTheSizeAndTheCentre) {
  MagickWandPtr original(CloneMagickWand(picture_.get()));
  options_.border_location = BorderLocation::kInside;
  ApplyBorder(picture_.get(), options_);
  ASSERT_EQ(MagickGetImageWidth(picture_.get()), 800u);
  ASSERT_EQ(MagickGetImageHeight(picture_.get()), 600u);
  EXPECT_EQ(PixelAt(picture_.get(), 2, 2), kRed);
  EXPECT_EQ(PixelAt(picture_.get(), 3, 3), kWhite);
  EXPECT_EQ(PixelAt(picture_.get(), 792, 592), kWhite);
  // The centre 784 x 584 stays where it was.
  for (auto [x, y] : {std::pair<ssize_t, ssize_t>{8, 8}, {400, 300}, {791, 591}, {8, 591}}) {
    EXPECT_EQ(PixelAt(picture_.get(), x, y), PixelAt(original.get(), x, y)) << x << "," << y;
  }
  // No padding: only the coloured frame is cut in.
  MagickWandPtr second(CloneMagickWand(original.get()));
  options_.border_padding = 0;
  ApplyBorder(second.get(), options_);
  EXPECT_EQ(PixelAt(second.get(), 3, 3), PixelAt(original.get(), 3, 3));
}

TEST_F(BorderTest, InsideBorderKeepsAResizedSizeAlongTheShorterSide) {
  // The shorter side is the height 60; the kept height is 1; the frame alone does not fit.
  InsideBorderCut cut = PlanInsideBorder(100, 60, 64, 64, /*resizing=*/true);
  EXPECT_EQ(cut.border, 29);
  EXPECT_EQ(cut.padding, 0);
  EXPECT_EQ(cut.width, 42);
  EXPECT_EQ(cut.height, 2);
  EXPECT_EQ(cut.x, 29);
  EXPECT_EQ(cut.y, 29);

  // The frame fits but not with the padding: the padding is narrowed.
  cut = PlanInsideBorder(60, 100, 10, 20, true);
  EXPECT_EQ(cut.border, 10);
  EXPECT_EQ(cut.padding, 19);
  EXPECT_EQ(cut.width, 2);
  EXPECT_EQ(cut.height, 42);

  // Both fit: unchanged.
  cut = PlanInsideBorder(800, 600, 3, 5, true);
  EXPECT_EQ(cut.border, 3);
  EXPECT_EQ(cut.padding, 5);
  EXPECT_EQ(cut.width, 784);
  EXPECT_EQ(cut.height, 584);

  // Without resizing nothing is narrowed; a side the frames swallow is cut to 1 at its middle.
  cut = PlanInsideBorder(100, 60, 64, 64, false);
  EXPECT_EQ(cut.border, 64);
  EXPECT_EQ(cut.width, 1);
  EXPECT_EQ(cut.x, 50);
  EXPECT_EQ(cut.y, 30);

  MagickWandPtr small = test::MakePicture(100, 60, "PNG");
  options_.border_location = BorderLocation::kInside;
  options_.border_size = 64;
  options_.border_padding = 64;
  options_.bSize = 1;
  ApplyBorder(small.get(), options_);
  EXPECT_EQ(MagickGetImageWidth(small.get()), 100u);
  EXPECT_EQ(MagickGetImageHeight(small.get()), 60u);
  EXPECT_EQ(PixelAt(small.get(), 28, 28), kRed);
}

TEST_F(BorderTest, BlackAndWhiteTurnsTheFrameGreyToo) {
  options_.bConvertBlackToWhite = 1;
  ApplyBorder(picture_.get(), options_);
  ApplyBlackAndWhite(picture_.get(), options_);
  std::array<int, 3> frame = PixelAt(picture_.get(), 1, 1);
  EXPECT_EQ(frame[0], frame[1]);
  EXPECT_EQ(frame[1], frame[2]);
  EXPECT_LT(frame[0], 200);  // red became a mid grey, not white
}

TEST_F(BorderTest, ColouredFrameOnAGreyPhotoStaysColouredInTheJpeg) {
  test::TempFolder folder;
  MagickTransformImageColorspace(picture_.get(), GRAYColorspace);
  MagickSetImageType(picture_.get(), GrayscaleType);
  ApplyBorder(picture_.get(), options_);
  MagickSetImageFormat(picture_.get(), "JPEG");
  ASSERT_TRUE(WritePictureFile(picture_.get(), folder / "grey.jpg", nullptr));
  MagickWandPtr back = MakeMagickWand();
  ASSERT_TRUE(ReadPictureFile(back.get(), folder / "grey.jpg", nullptr));
  std::array<int, 3> frame = PixelAt(back.get(), 1, 300);
  EXPECT_GT(frame[0], 200);
  EXPECT_LT(frame[1], 60);
}

TEST_F(BorderTest, NothingWithoutTheSwitch) {
  options_.bBorder = 0;
  ApplyBorder(picture_.get(), options_);
  EXPECT_EQ(MagickGetImageWidth(picture_.get()), 800u);
}

}  // namespace
}  // namespace brindle
