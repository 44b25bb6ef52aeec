#include "engine/watermark/text_size_search.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace brindle {
namespace {

constexpr int kReferencePoints = 72;
constexpr int kSmallestPoints = 6;
constexpr int kMostAttempts = 5;

struct Recorded {
  SizeAttempt attempt;
  int distance = 0;
};

SizeAttempt Closest(const std::vector<Recorded>& recorded) {
  // min_element keeps the first of equal elements: the earlier attempt wins a tie.
  return std::min_element(
             recorded.begin(), recorded.end(),
             [](const Recorded& a, const Recorded& b) { return a.distance < b.distance; })
      ->attempt;
}

}  // namespace

std::optional<SizeAttempt> SearchTextSize(int target, bool by_width, ContentSize reference,
                                          double per_point, const ContentMeasure& measure) {
  auto compared = [by_width](ContentSize content) {
    return by_width ? content.width : content.height;
  };
  const int reference_measure = compared(reference);
  if (target == reference_measure) return SizeAttempt{kReferencePoints, reference};

  int points = 0;
  if (target > reference_measure) {
    const double d = (target - reference_measure) / per_point;
    points = d > 1 ? static_cast<int>(std::trunc(kReferencePoints + d)) : kReferencePoints + 1;
  } else {
    const double d = (reference_measure - target) / per_point;
    points = d > 1 ? std::max(kSmallestPoints, static_cast<int>(std::trunc(kReferencePoints - d)))
                   : kReferencePoints - 1;
  }

  std::vector<Recorded> recorded;
  bool clamped = false;
  for (int attempt = 1; attempt <= kMostAttempts; ++attempt) {
    std::optional<ContentSize> content = measure(points);
    if (!content) return std::nullopt;
    const int m = compared(*content);
    if (m == target) return SizeAttempt{points, *content};
    const bool tried = std::any_of(recorded.begin(), recorded.end(),
                                   [&](const Recorded& r) { return r.attempt.points == points; });
    if (attempt >= 2 && tried) return Closest(recorded);
    if (attempt == kMostAttempts) return Closest(recorded);

    const int distance = std::abs(m - target);
    recorded.push_back({{points, *content}, distance});
    const double per = static_cast<double>(m) / points;
    const double d = distance / per;
    if (m < target) {
      points = d > 1 ? static_cast<int>(std::trunc(points + d)) : points + 1;
    } else {
      points = d > 1 ? static_cast<int>(std::trunc(points - d)) : points - 1;
      if (points < kSmallestPoints) {
        if (clamped) return recorded.back().attempt;
        points = kSmallestPoints;
        clamped = true;
      }
    }
  }
  return Closest(recorded);
}

}  // namespace brindle
