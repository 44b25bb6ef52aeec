#include "tools/slice/slice_geometry.h"

#include <gtest/gtest.h>

namespace brindle {
namespace {

std::vector<std::size_t> Lengths(std::size_t length, SliceDirection direction) {
  std::vector<std::size_t> lengths;
  std::size_t next = 0;
  for (const SliceSpan& span : SliceSpans(length, direction)) {
    EXPECT_EQ(span.start, next) << "spans must follow each other from 0";
    next = span.start + span.length;
    lengths.push_back(span.length);
  }
  if (!lengths.empty()) {
    EXPECT_EQ(next, length) << "spans must reach the end";
  }
  return lengths;
}

TEST(SliceGeometryTest, SpansOfEachMode) {
  using L = std::vector<std::size_t>;
  const SliceDirection off;
  EXPECT_EQ(Lengths(750, off), L({750}));
  EXPECT_EQ(Lengths(750, {SliceMode::kEvenCount, 4}), L({188, 188, 187, 187}));
  EXPECT_EQ(Lengths(10, {SliceMode::kEvenCount, 3}), L({4, 3, 3}));
  EXPECT_EQ(Lengths(11, {SliceMode::kEvenCount, 3}), L({4, 4, 3}));
  EXPECT_EQ(Lengths(100, {SliceMode::kEvenCount, 10}), L(10, 10));
  // A count at least as large as the length gives spans of one pixel.
  EXPECT_EQ(Lengths(3, {SliceMode::kEvenCount, 5}), L({1, 1, 1}));
  EXPECT_EQ(Lengths(3, {SliceMode::kEvenCount, 3}), L({1, 1, 1}));
  EXPECT_EQ(Lengths(750, {SliceMode::kPixels, 300}), L({300, 300, 150}));
  EXPECT_EQ(Lengths(10, {SliceMode::kPixels, 4}), L({4, 4, 2}));
  EXPECT_EQ(Lengths(10, {SliceMode::kPixels, 5}), L({5, 5}));
  EXPECT_EQ(Lengths(10, {SliceMode::kPixels, 9999}), L({10}));
  EXPECT_EQ(Lengths(7, {SliceMode::kPixels, 1}), L(7, 1));
  EXPECT_TRUE(SliceSpans(0, {SliceMode::kEvenCount, 4}).empty());
}

}  // namespace
}  // namespace brindle
