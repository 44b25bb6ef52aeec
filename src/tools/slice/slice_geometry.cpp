#include "tools/slice/slice_geometry.h"

#include <algorithm>

namespace brindle {

std::vector<SliceSpan> SliceSpans(std::size_t length, const SliceDirection& direction) {
  std::vector<SliceSpan> spans;
  if (length < 1) return spans;
  // A number below 1 cannot come through validation; it is taken as 1 so the walk always ends.
  const std::size_t number = static_cast<std::size_t>(std::max(direction.number, 1));
  std::size_t base = length;
  std::size_t extra = 0;
  switch (direction.mode) {
    case SliceMode::kOff:
      break;
    case SliceMode::kEvenCount:
      base = number < length ? length / number : 1;
      extra = number < length ? length % number : 0;
      break;
    case SliceMode::kPixels:
      base = std::min(length, number);
      break;
  }
  const bool even = direction.mode == SliceMode::kEvenCount;
  for (std::size_t start = 0, index = 0; start < length; ++index) {
    std::size_t span =
        start + base < length ? base + (even && index < extra ? 1 : 0) : length - start;
    spans.push_back({start, span});
    start += span;
  }
  return spans;
}

}  // namespace brindle
