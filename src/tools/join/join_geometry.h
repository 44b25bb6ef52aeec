#pragma once
// The arithmetic of a join: the length a scaled side gives the other side, the common side chosen
// by the side policy, and the canvas length the pictures and their spacing take. Every length is
// measured along the layout: "across" is the common side (width in a vertical join, height in a
// horizontal one), "along" the side the pictures are stacked on.

#include <optional>
#include <vector>

#include "tools/common/tool_settings.h"

namespace brindle {

// A picture's size turned to the layout.
struct JoinSides {
  int across = 0;
  int along = 0;
};

// The picture's width and height as sides of the layout, and back.
JoinSides ToJoinSides(JoinLayout layout, int width, int height);
void FromJoinSides(JoinLayout layout, const JoinSides& sides, int& width, int& height);

// The new length of the other side when a side of length scaled becomes target: other × target ÷
// scaled, truncated and raised by 1 when the dropped fraction is 0.5 or more; at least 1.
int scaledLength(int scaled, int other, int target);

// Where the narrowest (shortest) search starts, and the common side a custom length that is
// missing or below 1 falls back to.
inline constexpr int kSmallestSearchStart = 1000000;
inline constexpr int kCustomLengthFallback = 128;

// The common side: the first picture's, the largest, the smallest (1 when no size is known) or the
// custom length. sides holds the pictures whose size was read, in order.
int CommonSide(JoinSidePolicy policy, std::optional<int> custom_length,
               const std::vector<JoinSides>& sides);

// The length a picture takes along the layout: shrunk to the common side when larger, never
// enlarged.
int ContributedLength(const JoinSides& sides, int common);

// The canvas length along the layout: the contributions plus the spacing between each two
// neighbours.
long long CanvasLength(const std::vector<int>& contributions, int spacing);

}  // namespace brindle
