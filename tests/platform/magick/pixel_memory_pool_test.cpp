#include "platform/magick/pixel_memory_pool.h"

#include <gtest/gtest.h>

#include "platform/magick/magick_wand.h"
#include "support/test_support.h"

namespace brindle {
namespace {

// A large buffer given back is handed out again for a request of about its size, and pictures are
// made and read through the pool as through the allocator.
TEST(PixelMemoryPool, ALargeBufferGivenBackIsUsedAgain) {
  UsePixelMemoryPool();
  test::EnsureMagick();
  void* first = AcquireAlignedMemory(1, 24u << 20);
  ASSERT_NE(first, nullptr);
  RelinquishAlignedMemory(first);
  void* again = AcquireAlignedMemory(1, 20u << 20);
  EXPECT_EQ(again, first);
  RelinquishAlignedMemory(again);
  void* other = AcquireAlignedMemory(1, 8u << 20);  // would waste most of the 24 MiB buffer
  EXPECT_NE(other, first);
  RelinquishAlignedMemory(other);

  MagickWandPtr picture = test::MakePicture(1600, 1200, "PNG");
  ASSERT_TRUE(picture);
  EXPECT_EQ(MagickGetImageWidth(picture.get()), 1600u);
  ReleasePixelMemoryPool();
  void* fresh = AcquireAlignedMemory(1, 1u << 20);
  EXPECT_NE(fresh, nullptr);
  RelinquishAlignedMemory(fresh);
}

}  // namespace
}  // namespace brindle
