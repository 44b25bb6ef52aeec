#pragma once
// How the slice tool divides one side of a picture: not at all, into a number of even spans (the
// first spans one pixel longer when the length does not divide evenly), or into spans of a number
// of pixels with a shorter last one.

#include <cstddef>
#include <vector>

namespace brindle {

enum class SliceMode { kOff, kEvenCount, kPixels };

// The division of one direction: rows cut the height, columns the width.
struct SliceDirection {
  SliceMode mode = SliceMode::kOff;
  int number = 0;  // the count or the pixels; unused when off

  bool operator==(const SliceDirection&) const = default;
};

struct SliceSpan {
  std::size_t start = 0;
  std::size_t length = 0;

  bool operator==(const SliceSpan&) const = default;
};

// The spans of a side of the given length, from 0 to its end; none for a length below 1.
std::vector<SliceSpan> SliceSpans(std::size_t length, const SliceDirection& direction);

}  // namespace brindle
