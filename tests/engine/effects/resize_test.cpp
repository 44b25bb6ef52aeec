#include "engine/effects/resize.h"

#include <gtest/gtest.h>

#include <optional>

#include "platform/magick/magick_wand.h"
#include "support/test_support.h"

namespace brindle {
namespace {

ProcessingOptions PixelRecipe(SizeType side, int length, ZoomType zoom, bool keep_aspect = true) {
  ProcessingOptions options{};
  options.bSize = 1;
  options.zoomUnit = ZoomUnit::kPixel;
  options.sizeType = side;
  options.sizeValue = length;
  options.zoomType = zoom;
  options.bZoomSameScale = keep_aspect ? 1 : 0;
  return options;
}

ProcessingOptions PercentRecipe(SizeType side, float percent, bool keep_aspect = true) {
  ProcessingOptions options{};
  options.bSize = 1;
  options.zoomUnit = ZoomUnit::kPercent;
  options.zoomType = ZoomType::kScale;
  options.sizeType = side;
  options.fSizeValue = percent;
  options.bZoomSameScale = keep_aspect ? 1 : 0;
  return options;
}

using Size = PictureSize;
constexpr std::nullopt_t kUnchanged = std::nullopt;

TEST(ResizeByPixels, ShrinkAndEnlargeEachTouchOnlyTheirPictures) {
  ProcessingOptions shrink = PixelRecipe(SizeType::kWidth, 750, ZoomType::kShrink);
  EXPECT_EQ(ResizeByPixels(shrink, {3000, 2000}), (Size{750, 500}));
  EXPECT_EQ(ResizeByPixels(shrink, {600, 400}), kUnchanged);

  ProcessingOptions enlarge = PixelRecipe(SizeType::kWidth, 750, ZoomType::kEnlarge);
  EXPECT_EQ(ResizeByPixels(enlarge, {3000, 2000}), kUnchanged);
  EXPECT_EQ(ResizeByPixels(enlarge, {600, 400}), (Size{750, 500}));

  ProcessingOptions scale = PixelRecipe(SizeType::kHeight, 500, ZoomType::kScale);
  EXPECT_EQ(ResizeByPixels(scale, {3000, 2000}), (Size{750, 500}));
  EXPECT_EQ(ResizeByPixels(scale, {300, 200}), (Size{750, 500}));
}

TEST(ResizeByPixels, ATargetEqualToTheSetSideLeavesThePictureAlone) {
  // Even with keep aspect off, where the other side would otherwise be kept as it is anyway, and
  // with keep aspect on, where nothing would change either.
  EXPECT_EQ(ResizeByPixels(PixelRecipe(SizeType::kWidth, 750, ZoomType::kScale), {750, 2000}),
            kUnchanged);
  EXPECT_EQ(
      ResizeByPixels(PixelRecipe(SizeType::kHeight, 400, ZoomType::kScale, false), {600, 400}),
      kUnchanged);
}

TEST(ResizeByPixels, WithoutKeepAspectTheOtherSideStays) {
  EXPECT_EQ(
      ResizeByPixels(PixelRecipe(SizeType::kWidth, 750, ZoomType::kScale, false), {3000, 2000}),
      (Size{750, 2000}));
  EXPECT_EQ(
      ResizeByPixels(PixelRecipe(SizeType::kHeight, 900, ZoomType::kEnlarge, false), {300, 200}),
      (Size{300, 900}));
}

TEST(ResizeByPixels, ShorterAndLongerSideChooseBySideLengths) {
  for (ZoomType zoom : {ZoomType::kShrink, ZoomType::kScale}) {
    ProcessingOptions shorter = PixelRecipe(SizeType::kShorterSide, 500, zoom);
    EXPECT_EQ(ResizeByPixels(shorter, {4000, 3000}), (Size{667, 500}));  // 666.67 rounds up
    EXPECT_EQ(ResizeByPixels(shorter, {3000, 4000}), (Size{500, 667}));

    ProcessingOptions longer = PixelRecipe(SizeType::kLongerSide, 800, zoom);
    EXPECT_EQ(ResizeByPixels(longer, {1000, 1000}), (Size{800, 800}));
    EXPECT_EQ(ResizeByPixels(longer, {4000, 3000}), (Size{800, 600}));
  }
  // Which side a square picture sets shows once the other side does not follow: the width for the
  // shorter side, the height for the longer side.
  EXPECT_EQ(ResizeByPixels(PixelRecipe(SizeType::kShorterSide, 800, ZoomType::kShrink, false),
                           {1000, 1000}),
            (Size{800, 1000}));
  EXPECT_EQ(ResizeByPixels(PixelRecipe(SizeType::kLongerSide, 800, ZoomType::kShrink, false),
                           {1000, 1000}),
            (Size{1000, 800}));
}

TEST(ResizeByPixels, FollowingSideRoundsHalfUpAndNeverVanishes) {
  ProcessingOptions width = PixelRecipe(SizeType::kWidth, 500, ZoomType::kScale);
  EXPECT_EQ(ResizeByPixels(width, {1000, 501}), (Size{500, 251}));   // 250.5
  EXPECT_EQ(ResizeByPixels(width, {1000, 503}), (Size{500, 252}));   // 251.5
  EXPECT_EQ(ResizeByPixels(width, {3000, 1001}), (Size{500, 167}));  // 166.83
  EXPECT_EQ(ResizeByPixels(width, {3000, 1003}), (Size{500, 167}));  // 167.17

  EXPECT_EQ(ResizeByPixels(PixelRecipe(SizeType::kWidth, 100, ZoomType::kShrink), {10000, 1}),
            (Size{100, 1}));
  EXPECT_EQ(ResizeByPixels(PixelRecipe(SizeType::kHeight, 100, ZoomType::kShrink), {1, 10000}),
            (Size{1, 100}));
}

TEST(ResizeByPixels, DamagedRecipeValuesLeaveThePictureAlone) {
  EXPECT_EQ(ResizeByPixels(PixelRecipe(SizeType::kWidth, 0, ZoomType::kScale), {3000, 2000}),
            kUnchanged);
  EXPECT_EQ(ResizeByPixels(PixelRecipe(SizeType::kWidth, -5, ZoomType::kScale), {3000, 2000}),
            kUnchanged);
  EXPECT_EQ(
      ResizeByPixels(PixelRecipe(static_cast<SizeType>(7), 750, ZoomType::kScale), {3000, 2000}),
      kUnchanged);
  // An unknown zoom type restricts nothing.
  EXPECT_EQ(
      ResizeByPixels(PixelRecipe(SizeType::kWidth, 750, static_cast<ZoomType>(9)), {600, 400}),
      (Size{750, 500}));
}

TEST(ResizeByPercent, ScalesBothSidesRoundingHalfUp) {
  ProcessingOptions half = PercentRecipe(SizeType::kWidth, 50.0f);
  EXPECT_EQ(ResizeByPercent(half, {1001, 501}), (Size{501, 251}));
  EXPECT_EQ(ResizeByPercent(PercentRecipe(SizeType::kHeight, 50.0f), {1001, 501}),
            (Size{501, 251}));
  EXPECT_EQ(ResizeByPercent(PercentRecipe(SizeType::kLongerSide, 250.0f), {640, 480}),
            (Size{1600, 1200}));
  EXPECT_EQ(ResizeByPercent(PercentRecipe(SizeType::kWidth, 1.0f), {10000, 40}), (Size{100, 1}));
}

TEST(ResizeByPercent, AlwaysResizesWhateverTheZoomType) {
  for (ZoomType zoom : {ZoomType::kShrink, ZoomType::kEnlarge, ZoomType::kScale}) {
    ProcessingOptions options = PercentRecipe(SizeType::kWidth, 100.0f);
    options.zoomType = zoom;
    EXPECT_EQ(ResizeByPercent(options, {1234, 567}), (Size{1234, 567}));
    options.fSizeValue = 200.0f;
    EXPECT_EQ(ResizeByPercent(options, {1234, 567}), (Size{2468, 1134}));
  }
}

TEST(ResizeByPercent, WithoutKeepAspectOnlyTheSetSideChangesWithinLimits) {
  EXPECT_EQ(ResizeByPercent(PercentRecipe(SizeType::kWidth, 50.0f, false), {1001, 501}),
            (Size{501, 501}));
  EXPECT_EQ(ResizeByPercent(PercentRecipe(SizeType::kHeight, 50.0f, false), {1001, 501}),
            (Size{1001, 251}));
  EXPECT_EQ(ResizeByPercent(PercentRecipe(SizeType::kWidth, 300.0f, false), {5000, 1000}),
            (Size{9999, 1000}));
  EXPECT_EQ(ResizeByPercent(PercentRecipe(SizeType::kHeight, 300.0f, false), {1000, 5000}),
            (Size{1000, 9999}));
  EXPECT_EQ(ResizeByPercent(PercentRecipe(SizeType::kHeight, 1.0f, false), {40, 40}),
            (Size{40, 1}));
}

TEST(ResizeByPercent, KeepingAspectFitsTheLongerSideIntoTheLimit) {
  // The other side follows the limited one in proportion, whichever side the recipe sets.
  for (SizeType side : {SizeType::kWidth, SizeType::kHeight}) {
    ProcessingOptions triple = PercentRecipe(side, 300.0f);
    EXPECT_EQ(ResizeByPercent(triple, {5000, 1000}), (Size{9999, 2000}));
    EXPECT_EQ(ResizeByPercent(triple, {1000, 5000}), (Size{2000, 9999}));
    EXPECT_EQ(ResizeByPercent(triple, {5000, 6000}), (Size{8333, 9999}));  // 8332.5
    EXPECT_EQ(ResizeByPercent(triple, {6000, 5000}), (Size{9999, 8333}));
    EXPECT_EQ(ResizeByPercent(triple, {4000, 4000}), (Size{9999, 9999}));
    EXPECT_EQ(ResizeByPercent(triple, {100000, 3}), (Size{9999, 1}));  // 0.3 raised to 1
  }
  // Exactly at the limit nothing is cut.
  EXPECT_EQ(ResizeByPercent(PercentRecipe(SizeType::kWidth, 300.0f), {3333, 1000}),
            (Size{9999, 3000}));
}

TEST(ResizeTarget, ChoosesTheOperationByUnit) {
  ProcessingOptions options = PixelRecipe(SizeType::kWidth, 750, ZoomType::kShrink);
  options.fSizeValue = 50.0f;
  EXPECT_EQ(ResizeTarget(options, {3000, 2000}), (Size{750, 500}));
  EXPECT_EQ(ResizeTarget(options, {600, 400}), kUnchanged);
  options.zoomUnit = ZoomUnit::kPercent;
  EXPECT_EQ(ResizeTarget(options, {3000, 2000}), (Size{1500, 1000}));
  EXPECT_EQ(ResizeTarget(options, {600, 400}), (Size{300, 200}));
}

TEST(KeepAspectLabel, NamesTheFollowingSideAndTheChange) {
  struct Row {
    ZoomType zoom;
    const char* width_set;
    const char* height_set;
    const char* either_side;
  };
  const Row rows[] = {
      {ZoomType::kShrink, "高度等比例缩小", "宽度等比例缩小", "等比例缩小"},
      {ZoomType::kEnlarge, "高度等比例放大", "宽度等比例放大", "等比例放大"},
      {ZoomType::kScale, "高度等比例缩放", "宽度等比例缩放", "等比例缩放"},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(KeepAspectLabel(row.zoom, SizeType::kWidth), row.width_set);
    EXPECT_EQ(KeepAspectLabel(row.zoom, SizeType::kHeight), row.height_set);
    EXPECT_EQ(KeepAspectLabel(row.zoom, SizeType::kShorterSide), row.either_side);
    EXPECT_EQ(KeepAspectLabel(row.zoom, SizeType::kLongerSide), row.either_side);
  }
}

// The share of red, green and blue of one pixel, 0 to 1.
struct Rgb {
  double red, green, blue;
};
Rgb PixelAt(MagickWand* wand, long x, long y) {
  PixelWandPtr pixel = MakePixelWand();
  MagickGetImagePixelColor(wand, x, y, pixel.get());
  return {PixelGetRed(pixel.get()), PixelGetGreen(pixel.get()), PixelGetBlue(pixel.get())};
}

TEST(ApplyResize, ResamplesTheWholePictureToTheTarget) {
  MagickWandPtr picture = test::MakePicture(400, 300);
  ApplyResize(picture.get(), PixelRecipe(SizeType::kShorterSide, 150, ZoomType::kShrink));
  EXPECT_EQ(MagickGetImageWidth(picture.get()), 200u);
  EXPECT_EQ(MagickGetImageHeight(picture.get()), 150u);
  // The yellow top-left quarter is still a quarter: scaled, not cut.
  Rgb top_left = PixelAt(picture.get(), 50, 37);
  EXPECT_GT(top_left.red, 0.8);
  EXPECT_LT(top_left.blue, 0.3);
  Rgb bottom_left = PixelAt(picture.get(), 50, 112);
  EXPECT_LT(bottom_left.red, 0.4);
  EXPECT_GT(bottom_left.blue, 0.4);
}

TEST(ApplyResize, LeavesThePictureWhenNoTargetAndResizesByPercent) {
  MagickWandPtr picture = test::MakePicture(120, 80);
  ApplyResize(picture.get(), PixelRecipe(SizeType::kWidth, 750, ZoomType::kShrink));
  EXPECT_EQ(MagickGetImageWidth(picture.get()), 120u);
  EXPECT_EQ(MagickGetImageHeight(picture.get()), 80u);

  ApplyResize(picture.get(), PercentRecipe(SizeType::kHeight, 12.5f, false));
  EXPECT_EQ(MagickGetImageWidth(picture.get()), 120u);
  EXPECT_EQ(MagickGetImageHeight(picture.get()), 10u);
}

}  // namespace
}  // namespace brindle
