#include "engine/effects/overlay.h"

#include <gtest/gtest.h>

#include "support/test_support.h"

namespace brindle {
namespace {

MagickWandPtr Filled(size_t width, size_t height, const char* color) {
  test::EnsureMagick();
  MagickWandPtr wand = MakeMagickWand();
  PixelWandPtr fill = MakePixelWand(color);
  MagickNewImage(wand.get(), width, height, fill.get());
  return wand;
}

bool IsRed(MagickWand* wand, ssize_t x, ssize_t y) {
  PixelWandPtr pixel = MakePixelWand();
  MagickGetImagePixelColor(wand, x, y, pixel.get());
  return PixelGetRed(pixel.get()) > 0.9 && PixelGetGreen(pixel.get()) < 0.1;
}

// The bounding box of the red pixels: {left, top, right, bottom} inclusive.
std::array<ssize_t, 4> RedBox(MagickWand* wand) {
  ssize_t W = static_cast<ssize_t>(MagickGetImageWidth(wand));
  ssize_t H = static_cast<ssize_t>(MagickGetImageHeight(wand));
  std::array<ssize_t, 4> box{W, H, -1, -1};
  for (ssize_t y = 0; y < H; ++y) {
    for (ssize_t x = 0; x < W; ++x) {
      if (!IsRed(wand, x, y)) continue;
      box = {std::min(box[0], x), std::min(box[1], y), std::max(box[2], x), std::max(box[3], y)};
    }
  }
  return box;
}

TEST(ColorToHtml, RedIsTheLowByte) {
  EXPECT_EQ(ColorToHtml(0x000080FF), "#ff8000");
  EXPECT_EQ(ColorToHtml(0), "#000000");
  EXPECT_EQ(ColorToHtml(0x00ABCDEF), "#efcdab");
  EXPECT_EQ(ColorToHtml(0xFFFFFFFF), "#ffffff");
}

TEST(PlacementFromIndex, MapsTheDirectionIndex) {
  EXPECT_EQ(PlacementFromIndex(0), PlacementType::kCentre);
  EXPECT_EQ(PlacementFromIndex(1), PlacementType::kFromStart);
  EXPECT_EQ(PlacementFromIndex(2), PlacementType::kFromEnd);
  EXPECT_EQ(PlacementFromIndex(7), PlacementType::kCentre);
}

TEST(PlaceOverlay, MarginsFromEachEdgeAndCentre) {
  MagickWandPtr block = Filled(100, 30, "red");
  MagickWandPtr picture = Filled(800, 600, "white");
  PlaceOverlay(picture.get(), block.get(), PlacementType::kFromEnd, 16, PlacementType::kFromEnd, 16,
               false, 0);
  EXPECT_EQ(RedBox(picture.get()), (std::array<ssize_t, 4>{684, 554, 783, 583}));

  MagickWandPtr top_left = Filled(200, 100, "white");
  PlaceOverlay(top_left.get(), block.get(), PlacementType::kFromStart, 5, PlacementType::kFromStart,
               7, false, 0);
  EXPECT_EQ(RedBox(top_left.get()), (std::array<ssize_t, 4>{5, 7, 104, 36}));

  // A block wider than the picture is centred by integer division: (50 - 100) / 2 = -25.
  MagickWandPtr narrow = Filled(50, 60, "white");
  PlaceOverlay(narrow.get(), block.get(), PlacementType::kCentre, 0, PlacementType::kCentre, 0,
               false, 0);
  EXPECT_EQ(RedBox(narrow.get()), (std::array<ssize_t, 4>{0, 15, 49, 44}));

  MagickWandPtr untouched = Filled(50, 60, "white");
  PlaceOverlay(untouched.get(), nullptr, PlacementType::kCentre, 0, PlacementType::kCentre, 0,
               false, 0);
  EXPECT_EQ(RedBox(untouched.get())[2], -1);
}

TEST(PlaceOverlay, TilingCoversThePictureFromTheMarginPosition) {
  // Red tile with a blue first column, to find the tile origins.
  MagickWandPtr block = Filled(30, 20, "red");
  MagickWandPtr column = Filled(1, 20, "blue");
  MagickCompositeImage(block.get(), column.get(), OverCompositeOp, 0, 0);

  MagickWandPtr picture = Filled(200, 150, "white");
  PlaceOverlay(picture.get(), block.get(), PlacementType::kFromEnd, 16, PlacementType::kFromEnd, 16,
               true, 0);
  // Spacing 0: every pixel is covered.
  PixelWandPtr pixel = MakePixelWand();
  for (ssize_t y = 0; y < 150; ++y) {
    for (ssize_t x = 0; x < 200; ++x) {
      MagickGetImagePixelColor(picture.get(), x, y, pixel.get());
      ASSERT_LT(PixelGetGreen(pixel.get()), 0.1) << x << "," << y;
    }
  }
  // One tile sits exactly where the single block would: x = 200 - 30 - 16 = 154.
  auto blue = [&](ssize_t x, ssize_t y) {
    MagickGetImagePixelColor(picture.get(), x, y, pixel.get());
    return PixelGetBlue(pixel.get()) > 0.9;
  };
  EXPECT_TRUE(blue(154, 114));
  EXPECT_TRUE(blue(154 - 30, 0));
  EXPECT_FALSE(blue(155, 114));
}

TEST(PlaceOverlay, TilingLeavesTheSpacingFree) {
  MagickWandPtr block = Filled(10, 10, "red");
  MagickWandPtr picture = Filled(100, 100, "white");
  PlaceOverlay(picture.get(), block.get(), PlacementType::kFromStart, 0, PlacementType::kFromStart,
               0, true, 5);
  EXPECT_TRUE(IsRed(picture.get(), 0, 0));
  EXPECT_FALSE(IsRed(picture.get(), 12, 0));  // in the gap
  EXPECT_TRUE(IsRed(picture.get(), 15, 15));  // the next tile
  EXPECT_TRUE(IsRed(picture.get(), 90, 90));
}

}  // namespace
}  // namespace brindle
