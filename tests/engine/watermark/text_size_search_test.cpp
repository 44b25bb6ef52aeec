#include "engine/watermark/text_size_search.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <vector>

namespace brindle {
namespace {

// A measure that answers from a function of the point size and records every size asked for.
class Recorder {
 public:
  explicit Recorder(std::function<ContentSize(int)> size_at) : size_at(std::move(size_at)) {}

  std::function<ContentSize(int)> size_at;
  std::vector<int> asked;

  ContentMeasure Measure() {
    return [this](int points) -> std::optional<ContentSize> {
      asked.push_back(points);
      return size_at(points);
    };
  }
};

ContentSize Wide(int width) { return {width, 40}; }

TEST(SearchTextSize, TheReferenceSizeIsSeventyTwoPointsWithoutMeasuring) {
  Recorder recorder([](int) { return Wide(1); });
  std::optional<SizeAttempt> size =
      SearchTextSize(224, true, {224, 45}, 224 / 72.0, recorder.Measure());
  ASSERT_TRUE(size);
  EXPECT_EQ(*size, (SizeAttempt{72, {224, 45}}));
  EXPECT_TRUE(recorder.asked.empty());

  size = SearchTextSize(45, false, {224, 45}, 45 / 72.0, recorder.Measure());
  ASSERT_TRUE(size);
  EXPECT_EQ(size->points, 72);
  EXPECT_TRUE(recorder.asked.empty());
}

TEST(SearchTextSize, SteppingTowardsTheTargetUntilASizeRepeats) {
  // Content width ceil(3.1 × points) + 1, as a face measures.
  Recorder recorder([](int points) { return Wide(static_cast<int>(std::ceil(3.1 * points)) + 1); });
  std::optional<SizeAttempt> size =
      SearchTextSize(100, true, {224, 45}, 224 / 72.0, recorder.Measure());
  ASSERT_TRUE(size);
  // 72 - 124 / 3.11 gives 32 points (101 wide); one down is 98 wide; one up is 32 again, so the
  // closer of the two wins.
  EXPECT_EQ(recorder.asked, (std::vector<int>{32, 31, 32}));
  EXPECT_EQ(*size, (SizeAttempt{32, Wide(101)}));
}

TEST(SearchTextSize, AnExactHitEndsTheSearch) {
  Recorder recorder([](int points) { return Wide(3 * points + 4); });
  // Below the reference: d = 60 ÷ (220 ÷ 72) = 19.6, so 52 points, exactly 160 wide.
  std::optional<SizeAttempt> size =
      SearchTextSize(160, true, {220, 45}, 220 / 72.0, recorder.Measure());
  ASSERT_TRUE(size);
  EXPECT_EQ(*size, (SizeAttempt{52, Wide(160)}));
  EXPECT_EQ(recorder.asked, std::vector<int>{52});
}

TEST(SearchTextSize, AtMostFiveMeasurementsAndTheFifthIsNotUsed) {
  // Always 2 short, except the fifth size which is 1 short: the earliest of the first four wins.
  Recorder recorder([](int points) { return Wide(points == 40 ? 99 : 98); });
  std::optional<SizeAttempt> size =
      SearchTextSize(100, true, {200, 45}, 200 / 72.0, recorder.Measure());
  ASSERT_TRUE(size);
  EXPECT_EQ(recorder.asked, (std::vector<int>{36, 37, 38, 39, 40}));
  EXPECT_EQ(*size, (SizeAttempt{36, Wide(98)}));
}

TEST(SearchTextSize, ByHeightComparesTheHeight) {
  Recorder recorder([](int points) { return ContentSize{1000, points + 10}; });
  std::optional<SizeAttempt> size =
      SearchTextSize(40, false, {1000, 82}, 82 / 72.0, recorder.Measure());
  ASSERT_TRUE(size);
  EXPECT_EQ(size->content.height, 40);
  EXPECT_EQ(size->points, 30);
  EXPECT_LE(recorder.asked.size(), 5u);
}

TEST(SearchTextSize, NeverBelowSixPoints) {
  // From 7 points the step leads below 6: 6 is tried once; below it a second time ends the search
  // with the attempt at 6.
  Recorder recorder([](int points) { return Wide(2 * points + 2); });
  std::optional<SizeAttempt> size =
      SearchTextSize(5, true, {50, 45}, 50 / 72.0, recorder.Measure());
  ASSERT_TRUE(size);
  EXPECT_EQ(recorder.asked, (std::vector<int>{7, 6}));
  EXPECT_EQ(*size, (SizeAttempt{6, Wide(14)}));

  // A first estimate below 6 starts at 6.
  recorder.asked.clear();
  size = SearchTextSize(2, true, {500, 45}, 500 / 72.0, recorder.Measure());
  ASSERT_TRUE(size);
  EXPECT_EQ(recorder.asked.front(), 6);
}

TEST(SearchTextSize, SmallDistancesStepOnePoint) {
  // Just above the reference: 73 points first; just below: 71.
  Recorder recorder([](int points) { return Wide(3 * points); });
  SearchTextSize(218, true, {216, 45}, 3.0, recorder.Measure());
  EXPECT_EQ(recorder.asked.front(), 73);
  recorder.asked.clear();
  SearchTextSize(214, true, {216, 45}, 3.0, recorder.Measure());
  EXPECT_EQ(recorder.asked.front(), 71);
}

TEST(SearchTextSize, AFailedMeasurementGivesNoSize) {
  ContentMeasure failing = [](int) -> std::optional<ContentSize> { return std::nullopt; };
  EXPECT_FALSE(SearchTextSize(100, true, {224, 45}, 224 / 72.0, failing).has_value());
}

}  // namespace
}  // namespace brindle
