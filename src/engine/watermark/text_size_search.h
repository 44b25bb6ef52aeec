#pragma once
// The font size search of the proportional text watermark: the point size whose block content has
// the wanted width (or height), found from the 72-point reference in at most five measurements.

#include <functional>
#include <optional>

#include "engine/watermark/text_block.h"

namespace brindle {

struct SizeAttempt {
  int points = 0;
  ContentSize content;
  bool operator==(const SizeAttempt&) const = default;
};

// Measures the content size at a point size; nullopt when measuring fails.
using ContentMeasure = std::function<std::optional<ContentSize>(int points)>;

// target: the wanted content width (by_width) or height, at least 1. reference: the content size
// at 72 points; per_point: the compared reference measure ÷ 72.
// A target equal to the reference is 72 points without measuring. Otherwise each attempt measures
// one size and steps towards the target by the measured size per point; the search ends at an exact
// hit, at a size tried before or at the fifth attempt (then the closest recorded attempt wins, the
// earlier on a tie), or when the size would fall below 6 points a second time. nullopt when a
// measurement fails.
std::optional<SizeAttempt> SearchTextSize(int target, bool by_width, ContentSize reference,
                                          double per_point, const ContentMeasure& measure);

}  // namespace brindle
