#include "tools/common/load_format_mask.h"

#include <gtest/gtest.h>

namespace brindle {
namespace {

TEST(LoadFormatMask, NameEndsWithAnExtensionOfATickedFormat) {
  EXPECT_TRUE(MaskSelectsFile(kLoadJpg, "a.JPG"));
  EXPECT_TRUE(MaskSelectsFile(kLoadJpg, "a.jpeg"));
  EXPECT_FALSE(MaskSelectsFile(kLoadJpg, "a.jpg.bak"));
  EXPECT_FALSE(MaskSelectsFile(kLoadJpg, "a.png"));
  EXPECT_TRUE(MaskSelectsFile(kLoadTif, "scan.TIFF"));
  EXPECT_TRUE(MaskSelectsFile(kLoadTif, "scan.tif"));
  EXPECT_TRUE(MaskSelectsFile(kLoadJfif, "x.jfif"));
  EXPECT_FALSE(MaskSelectsFile(kLoadJpg, "x.jfif"));
  EXPECT_TRUE(MaskSelectsFile(kLoadPng | kLoadGif, "x.gif"));
  // Only the end of the whole name counts: a name that is nothing but the extension is taken.
  EXPECT_TRUE(MaskSelectsFile(kLoadPng, ".png"));
  EXPECT_FALSE(MaskSelectsFile(kLoadPng, "png"));
}

TEST(LoadFormatMask, OnlyTheWebpBitTakesOnlyWebp) {
  for (const char* name : {"a.jpg", "a.png", "a.gif", "a.bmp", "a.psd", "a.tif", "a.svg", "a.dng",
                           "a.jfif", "a.heic"}) {
    EXPECT_FALSE(MaskSelectsFile(kLoadWebp, name)) << name;
  }
  EXPECT_TRUE(MaskSelectsFile(kLoadWebp, "a.webp"));
  EXPECT_TRUE(MaskSelectsFile(kLoadWebp, "a.WebP"));
}

TEST(LoadFormatMask, HeicTakenByItsOwnBitAndAnEmptyMaskTakesNothing) {
  // The old HEIC bit of stored masks still selects nothing; the HEIF bit does.
  EXPECT_FALSE(MaskSelectsFile(kLoadHeic, "phone.HEIC"));
  EXPECT_TRUE(MaskSelectsFile(kLoadHeif, "phone.HEIC"));
  EXPECT_TRUE(MaskSelectsFile(0xFFFFFFFFu, "phone.heic"));
  EXPECT_FALSE(MaskSelectsFile(0, "a.jpg"));
  EXPECT_TRUE(MaskSelectsFile(0xFFFFFFFFu, "a.dng"));
}

}  // namespace
}  // namespace brindle
