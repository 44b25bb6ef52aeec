#include "tools/png/png_tool_resize.h"

#include <gtest/gtest.h>

#include "support/test_support.h"

namespace brindle {
namespace {

PngZoom Zoom(PngZoomKind kind, PngZoomSide side, int length, bool keep = true) {
  return PngZoom{kind, side, length, keep};
}

std::optional<PictureSize> Size(int width, int height) { return PictureSize{width, height}; }

TEST(PngZoomTarget, ShrinkOnlyShrinks) {
  const PngZoom shrink = Zoom(PngZoomKind::kShrink, PngZoomSide::kWidth, 800);
  EXPECT_EQ(PngZoomTarget(shrink, {1000, 750}), Size(800, 600));
  EXPECT_EQ(PngZoomTarget(shrink, {600, 450}), std::nullopt);
  EXPECT_EQ(PngZoomTarget(shrink, {800, 450}), std::nullopt);
  EXPECT_EQ(PngZoomTarget(Zoom(PngZoomKind::kShrink, PngZoomSide::kWidth, 800, false), {1000, 750}),
            Size(800, 750));
  // The other side never drops below one pixel.
  EXPECT_EQ(PngZoomTarget(Zoom(PngZoomKind::kShrink, PngZoomSide::kWidth, 1), {1000, 10}),
            Size(1, 1));
}

TEST(PngZoomTarget, EnlargeOnlyEnlarges) {
  const PngZoom enlarge = Zoom(PngZoomKind::kEnlarge, PngZoomSide::kHeight, 300);
  EXPECT_EQ(PngZoomTarget(enlarge, {400, 200}), Size(600, 300));
  EXPECT_EQ(
      PngZoomTarget(Zoom(PngZoomKind::kEnlarge, PngZoomSide::kHeight, 300, false), {400, 200}),
      Size(400, 300));
  EXPECT_EQ(PngZoomTarget(enlarge, {400, 500}), std::nullopt);
}

TEST(PngZoomTarget, ScaleGoesBothWaysAndRoundsHalfUp) {
  const PngZoom scale = Zoom(PngZoomKind::kScale, PngZoomSide::kWidth, 3);
  EXPECT_EQ(PngZoomTarget(scale, {1000, 499}), Size(3, 1));  // 1.497
  EXPECT_EQ(PngZoomTarget(scale, {1000, 501}), Size(3, 2));  // 1.503
  EXPECT_EQ(PngZoomTarget(Zoom(PngZoomKind::kScale, PngZoomSide::kWidth, 2), {4, 3}),
            Size(2, 2));  // exactly 1.5
  EXPECT_EQ(PngZoomTarget(Zoom(PngZoomKind::kScale, PngZoomSide::kHeight, 200), {150, 100}),
            Size(300, 200));
  EXPECT_EQ(PngZoomTarget(scale, {3, 7}), std::nullopt);
}

TEST(PngZoomTarget, ResizesThePicture) {
  test::EnsureMagick();
  MagickWandPtr wand = test::MakePicture(1000, 501, "PNG");
  ASSERT_TRUE(ApplyPngZoom(wand.get(), Zoom(PngZoomKind::kScale, PngZoomSide::kWidth, 3)));
  EXPECT_EQ(MagickGetImageWidth(wand.get()), 3u);
  EXPECT_EQ(MagickGetImageHeight(wand.get()), 2u);
}

}  // namespace
}  // namespace brindle
