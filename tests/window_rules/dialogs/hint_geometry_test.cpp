// Where the small windows stand: the folder chooser's least size, the preview tip beside the first
// picture, a balloon beside its control, and the picture pane's size for a picture's resolution.
#include <gtest/gtest.h>

#include "window_rules/dialogs/hint_geometry.h"
#include "window_rules/main/main_window_size.h"
#include "window_rules/widgets/picture_pane_geometry.h"

namespace brindle {
namespace {

bool Overlap(const Rect2& a, const Rect2& b) {
  return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height && b.y < a.y + a.height;
}

TEST(HintGeometry, TheFolderChooserIsAtLeastTwoFifthsWideAndOverHalfTall) {
  const Size2 small = FolderChooserSize(1600, 1000, 500, 300);
  EXPECT_EQ(small.width, 640);
  EXPECT_EQ(small.height, 550);
  const Size2 large = FolderChooserSize(1600, 1000, 900, 700);
  EXPECT_EQ(large.width, 900);
  EXPECT_EQ(large.height, 700);
}

TEST(HintGeometry, ThePreviewTipStandsRightOfAndBelowTheFirstItemInsideTheList) {
  const Point2 tip = PreviewTipPoint({13, 9, 122, 132}, 900, 700);
  EXPECT_EQ(tip.x, 63);
  EXPECT_EQ(tip.y, 109);
  // A report view's first row is short and a tiny list holds the tip at its last pixel.
  const Point2 squeezed = PreviewTipPoint({0, 0, 490, 20}, 40, 60);
  EXPECT_EQ(squeezed.x, 39);
  EXPECT_EQ(squeezed.y, 59);
}

TEST(HintGeometry, ABalloonPointsAtItsControlWithoutCoveringIt) {
  const Rect2 screen{0, 0, 1600, 1000};
  // A box at (300, 200), 80 × 24: the tail's tip at the middle of its bottom edge.
  const Rect2 box{300, 200, 80, 24};
  const Point2 below{340, 224};
  const Point2 above{340, 200};
  const Size2 size{260, 90};
  const BalloonPlace under = PlaceBalloon(below, above, size, screen);
  EXPECT_TRUE(under.tail_up);
  EXPECT_EQ(under.y, 224);
  EXPECT_EQ(under.x + under.tail_x, 340);
  EXPECT_EQ(under.tail_x, kBalloonTailInset);
  EXPECT_FALSE(Overlap({under.x, under.y, size.width, size.height}, box));

  // Near the screen's bottom the balloon stands above the box, its tail down at the top edge.
  const Rect2 low{300, 950, 80, 24};
  const BalloonPlace over = PlaceBalloon({340, 974}, {340, 950}, size, screen);
  EXPECT_FALSE(over.tail_up);
  EXPECT_EQ(over.y + size.height, 950);
  EXPECT_EQ(over.x + over.tail_x, 340);
  EXPECT_FALSE(Overlap({over.x, over.y, size.width, size.height}, low));

  // At the screen's right edge the balloon moves left and its tail still reaches the point.
  const BalloonPlace edge = PlaceBalloon({1590, 224}, {1590, 200}, size, screen);
  EXPECT_EQ(edge.x, 1600 - 260);
  EXPECT_EQ(edge.x + edge.tail_x, 1590);
  EXPECT_LE(edge.tail_x, size.width - kBalloonTailHalfBase - 2);
}

TEST(PanePictureSize, APictureIsShownAtItsPhysicalSizeOnTheScreen) {
  EXPECT_EQ(NaturalLength(960, 96, 96), 960);
  EXPECT_EQ(NaturalLength(720, 72, 96), 960);
  EXPECT_EQ(NaturalLength(3000, 300, 96), 960);
  // No resolution counts as the screen's usual 96.
  EXPECT_EQ(NaturalLength(800, 0, 96), 800);
  // 1001 pixels at 300 per inch are 8475 hundredths of a millimetre (8474.47 rounded), 320.3
  // screen pixels.
  EXPECT_EQ(NaturalLength(1001, 300, 96), 320);
  EXPECT_EQ(NaturalLength(1, 600, 96), 1);
}

TEST(MainWindowPlace, TheMainWindowStandsCentredAndNeverAboveTheScreen) {
  const WindowCorner corner = CentredCorner(0, 0, 1600, 1000, 1260, 953, 26);
  EXPECT_EQ(corner.x, 170);
  EXPECT_EQ(corner.y, 0);  // 23 - 26 would be above the top
  const WindowCorner lower = CentredCorner(0, 30, 1920, 1050, 1260, 750, 26);
  EXPECT_EQ(lower.x, 330);
  EXPECT_EQ(lower.y, 30 + 150 - 26);
}

}  // namespace
}  // namespace brindle
