#include "tools/join/join_geometry.h"

#include <algorithm>
#include <cmath>

namespace brindle {

JoinSides ToJoinSides(JoinLayout layout, int width, int height) {
  return layout == JoinLayout::kVertical ? JoinSides{width, height} : JoinSides{height, width};
}

void FromJoinSides(JoinLayout layout, const JoinSides& sides, int& width, int& height) {
  width = layout == JoinLayout::kVertical ? sides.across : sides.along;
  height = layout == JoinLayout::kVertical ? sides.along : sides.across;
}

int scaledLength(int scaled, int other, int target) {
  if (scaled <= 0) return 1;
  const long double exact =
      static_cast<long double>(other) * static_cast<long double>(target) / scaled;
  long double whole = std::trunc(exact);
  if (exact - whole >= 0.5L) whole += 1;
  if (whole <= 0) return 1;
  // No side of a picture comes near this; it only keeps the conversion defined.
  return static_cast<int>(std::min<long double>(whole, 2147483647.0L));
}

int CommonSide(JoinSidePolicy policy, std::optional<int> custom_length,
               const std::vector<JoinSides>& sides) {
  switch (policy) {
    case JoinSidePolicy::kFirstPicture:
      return sides.empty() ? 0 : sides.front().across;
    case JoinSidePolicy::kLargest: {
      int largest = 0;
      for (const JoinSides& s : sides) largest = std::max(largest, s.across);
      return largest;
    }
    case JoinSidePolicy::kSmallest: {
      if (sides.empty()) return 1;
      int smallest = kSmallestSearchStart;
      for (const JoinSides& s : sides) smallest = std::min(smallest, s.across);
      return smallest;
    }
    case JoinSidePolicy::kCustom:
      return custom_length && *custom_length >= 1 ? *custom_length : kCustomLengthFallback;
  }
  return 0;
}

int ContributedLength(const JoinSides& sides, int common) {
  return sides.across > common ? scaledLength(sides.across, sides.along, common) : sides.along;
}

long long CanvasLength(const std::vector<int>& contributions, int spacing) {
  if (contributions.empty()) return 0;
  long long length = 0;
  for (int contribution : contributions) length += contribution;
  return length +
         static_cast<long long>(spacing) * (static_cast<long long>(contributions.size()) - 1);
}

}  // namespace brindle
