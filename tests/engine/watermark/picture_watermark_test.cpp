#include "engine/watermark/picture_watermark.h"

#include <gtest/gtest.h>

#include <cmath>

#include "support/test_support.h"

namespace brindle {
namespace {

namespace fs = std::filesystem;

struct Rgba {
  int red, green, blue;
  double alpha;
};

Rgba PixelAt(MagickWand* wand, ssize_t x, ssize_t y) {
  PixelWandPtr pixel = MakePixelWand();
  MagickGetImagePixelColor(wand, x, y, pixel.get());
  return {static_cast<int>(std::lround(PixelGetRed(pixel.get()) * 255)),
          static_cast<int>(std::lround(PixelGetGreen(pixel.get()) * 255)),
          static_cast<int>(std::lround(PixelGetBlue(pixel.get()) * 255)),
          PixelGetAlpha(pixel.get())};
}

class PictureWatermarkTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::EnsureMagick();
    options_.bSYImage = 1;
    options_.sy_image_opacity = 100;
    options_.sy_image_w_direction = 2;
    options_.sy_image_w_value = 16;
    options_.sy_image_h_direction = 2;
    options_.sy_image_h_value = 16;
  }

  // A plain red logo in the given format, width x height.
  fs::path Logo(const char* name, size_t width, size_t height, const char* format,
                const char* color = "#ff0000") {
    MagickWandPtr wand = MakeMagickWand();
    PixelWandPtr fill = MakePixelWand(color);
    MagickNewImage(wand.get(), width, height, fill.get());
    MagickSetImageFormat(wand.get(), format);
    fs::path path = folder_ / name;
    std::string error;
    EXPECT_TRUE(WritePictureFile(wand.get(), path, &error)) << error;
    return path;
  }

  std::optional<Refusal> Prepare() { return PrepareWatermarkPicture(options_, prepared_); }

  test::TempFolder folder_;
  ProcessingOptions options_{};
  MagickWandPtr prepared_;
};

TEST_F(PictureWatermarkTest, RotatedLogoHasTransparentCornersAndIsHalfTransparent) {
  options_.sy_image = Logo("logo.jpg", 60, 60, "JPEG");
  options_.sy_image_rotate = 45;
  options_.sy_image_opacity = 50;
  ASSERT_FALSE(Prepare());
  ASSERT_TRUE(prepared_);
  const size_t side = MagickGetImageWidth(prepared_.get());
  EXPECT_GE(side, 84u);  // the bounding box of the turned square
  EXPECT_EQ(MagickGetImageHeight(prepared_.get()), side);
  const ssize_t last = static_cast<ssize_t>(side) - 1;
  for (auto [x, y] : {std::pair<ssize_t, ssize_t>{0, 0}, {last, 0}, {0, last}, {last, last}}) {
    EXPECT_DOUBLE_EQ(PixelAt(prepared_.get(), x, y).alpha, 0.0) << x << "," << y;
  }
  Rgba centre = PixelAt(prepared_.get(), last / 2, last / 2);
  EXPECT_NEAR(centre.alpha, 0.5, 0.01);
  EXPECT_GE(centre.red, 250);
}

TEST_F(PictureWatermarkTest, OpacityOfOpaqueAndTransparentLogos) {
  // An opaque logo without rotation is made uniformly half transparent.
  options_.sy_image = Logo("opaque.jpg", 40, 20, "JPEG");
  options_.sy_image_opacity = 50;
  ASSERT_FALSE(Prepare());
  EXPECT_NEAR(PixelAt(prepared_.get(), 3, 3).alpha, 0.5, 0.01);
  EXPECT_EQ(MagickGetImageWidth(prepared_.get()), 40u);

  // A logo with its own transparency: the clear parts stay clear, the rest is multiplied.
  MagickWandPtr half = MakeMagickWand();
  PixelWandPtr none = MakePixelWand("none");
  MagickNewImage(half.get(), 40, 20, none.get());
  PixelWandPtr blue = MakePixelWand("#0000ff");
  MagickWandPtr opaque = MakeMagickWand();
  MagickNewImage(opaque.get(), 20, 20, blue.get());
  MagickCompositeImage(half.get(), opaque.get(), OverCompositeOp, 20, 0);
  MagickSetImageFormat(half.get(), "PNG");
  fs::path png = folder_ / "half.png";
  ASSERT_TRUE(WritePictureFile(half.get(), png, nullptr));
  options_.sy_image = png.string();
  options_.sy_image_opacity = 40;
  ASSERT_FALSE(Prepare());
  EXPECT_DOUBLE_EQ(PixelAt(prepared_.get(), 5, 5).alpha, 0.0);
  EXPECT_NEAR(PixelAt(prepared_.get(), 30, 5).alpha, 0.4, 0.01);

  // Opacity 100: the logo is used as it is.
  options_.sy_image = Logo("full.jpg", 40, 20, "JPEG");
  options_.sy_image_opacity = 100;
  ASSERT_FALSE(Prepare());
  EXPECT_EQ(MagickGetImageAlphaChannel(prepared_.get()), MagickFalse);
}

TEST_F(PictureWatermarkTest, UnreadableLogoRefusesTheRunAndEmptyPathMeansNone) {
  options_.sy_image = Logo("old.jpg", 10, 10, "JPEG");
  ASSERT_FALSE(Prepare());
  ASSERT_TRUE(prepared_);

  test::WriteFile(folder_ / "broken.png", "\x89PNG not really");
  options_.sy_image = (folder_ / "broken.png").string();
  std::optional<Refusal> refusal = Prepare();
  ASSERT_TRUE(refusal);
  EXPECT_EQ(refusal->Text(), "读取水印图片出错：\n\n" + options_.sy_image);
  EXPECT_EQ(refusal->caption, "错误");
  EXPECT_EQ(refusal->icon, MessageIcon::kError);
  EXPECT_FALSE(prepared_);  // the previous picture is gone too

  options_.sy_image = (folder_ / "missing.png").string();
  ASSERT_TRUE(Prepare());

  options_.sy_image = "";
  EXPECT_FALSE(Prepare());
  EXPECT_FALSE(prepared_);
}

TEST_F(PictureWatermarkTest, LogoIsLaidAtItsPlacementOnAGreyPictureMadeColour) {
  options_.sy_image = Logo("logo.png", 30, 20, "PNG");
  ASSERT_FALSE(Prepare());
  MagickWandPtr picture = MakeMagickWand();
  PixelWandPtr grey = MakePixelWand("#808080");
  MagickNewImage(picture.get(), 200, 100, grey.get());
  MagickTransformImageColorspace(picture.get(), GRAYColorspace);

  ApplyPictureWatermark(picture.get(), options_, prepared_.get());
  EXPECT_EQ(MagickGetImageColorspace(picture.get()), sRGBColorspace);
  // Bottom right, 16 pixels from both edges: x 154..183, y 64..83.
  Rgba inside = PixelAt(picture.get(), 154, 64);
  EXPECT_EQ(inside.red, 255);
  EXPECT_EQ(inside.green, 0);
  EXPECT_EQ(PixelAt(picture.get(), 183, 83).red, 255);
  EXPECT_EQ(PixelAt(picture.get(), 184, 83).red, 128);
  EXPECT_EQ(PixelAt(picture.get(), 153, 64).red, 128);

  // Tiled with spacing 10: another tile 40 pixels to the left.
  options_.sy_image_tiled = 1;
  options_.sy_image_tiled_spacing = 10;
  MagickWandPtr tiled = MakeMagickWand();
  MagickNewImage(tiled.get(), 200, 100, grey.get());
  ApplyPictureWatermark(tiled.get(), options_, prepared_.get());
  EXPECT_EQ(PixelAt(tiled.get(), 114, 64).red, 255);
  EXPECT_EQ(PixelAt(tiled.get(), 144, 64).red, 128);
}

TEST_F(PictureWatermarkTest, NothingWithoutSwitchPathOrPreparedPicture) {
  options_.sy_image = Logo("logo.png", 30, 20, "PNG");
  ASSERT_FALSE(Prepare());
  PixelWandPtr grey = MakePixelWand("#808080");
  for (int variant = 0; variant < 3; ++variant) {
    ProcessingOptions options = options_;
    MagickWand* prepared = prepared_.get();
    if (variant == 0) options.bSYImage = 0;
    if (variant == 1) options.sy_image.clear();
    if (variant == 2) prepared = nullptr;
    MagickWandPtr picture = MakeMagickWand();
    MagickNewImage(picture.get(), 200, 100, grey.get());
    ApplyPictureWatermark(picture.get(), options, prepared);
    EXPECT_EQ(PixelAt(picture.get(), 160, 70).red, 128) << variant;
  }
}

}  // namespace
}  // namespace brindle
