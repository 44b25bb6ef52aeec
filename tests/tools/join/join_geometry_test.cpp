#include "tools/join/join_geometry.h"

#include <gtest/gtest.h>

namespace brindle {
namespace {

TEST(JoinGeometry, ScaledLengthRoundsHalfUpAndNeverGivesZero) {
  struct Case {
    int scaled, other, target, expected;
  };
  const Case cases[] = {
      {1000, 333, 800, 266},   // 266.4
      {1000, 334, 800, 267},   // 267.2
      {1000, 1001, 800, 801},  // 800.8
      {3, 1, 1, 1},            // 0.33 truncates to 0, raised to 1
      {1000, 5, 100, 1},       // 0.5 rounds up
      {4, 6, 2, 3},            // exact
      {1000000, 10, 64, 1},    // far below 1
  };
  for (const Case& c : cases) {
    EXPECT_EQ(scaledLength(c.scaled, c.other, c.target), c.expected)
        << c.scaled << " " << c.other << " " << c.target;
  }
}

TEST(JoinGeometry, CommonSideByPolicy) {
  const std::vector<JoinSides> sides = {{800, 100}, {1000, 200}, {600, 300}};
  EXPECT_EQ(CommonSide(JoinSidePolicy::kFirstPicture, std::nullopt, sides), 800);
  EXPECT_EQ(CommonSide(JoinSidePolicy::kLargest, std::nullopt, sides), 1000);
  EXPECT_EQ(CommonSide(JoinSidePolicy::kSmallest, std::nullopt, sides), 600);
  EXPECT_EQ(CommonSide(JoinSidePolicy::kCustom, 450, sides), 450);
  EXPECT_EQ(CommonSide(JoinSidePolicy::kCustom, std::nullopt, sides), 128);
  EXPECT_EQ(CommonSide(JoinSidePolicy::kCustom, 0, sides), 128);
  // No size read: the narrowest search gives 1, the first picture gives nothing to join.
  EXPECT_EQ(CommonSide(JoinSidePolicy::kSmallest, std::nullopt, {}), 1);
  EXPECT_EQ(CommonSide(JoinSidePolicy::kFirstPicture, std::nullopt, {}), 0);
}

TEST(JoinGeometry, ContributionsAndCanvasLength) {
  // Wider pictures are shrunk to the common side, narrower ones keep their length.
  EXPECT_EQ(ContributedLength({1000, 200}, 800), 160);
  EXPECT_EQ(ContributedLength({600, 300}, 800), 300);
  EXPECT_EQ(CanvasLength({100, 200, 300}, 10), 620);
  EXPECT_EQ(CanvasLength({100}, 10), 100);
  EXPECT_EQ(CanvasLength({}, 10), 0);
  // Sides follow the layout.
  JoinSides horizontal = ToJoinSides(JoinLayout::kHorizontal, 30, 70);
  EXPECT_EQ(horizontal.across, 70);
  EXPECT_EQ(horizontal.along, 30);
}

}  // namespace
}  // namespace brindle
