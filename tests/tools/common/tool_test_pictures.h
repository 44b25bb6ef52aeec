#pragma once
// Pictures the tool tests make and read back.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>

#include "platform/magick/magick_wand.h"
#include "support/test_support.h"

namespace brindle::test {

// A JPEG of the given stored quality.
inline void WriteJpeg(const std::filesystem::path& path, size_t width, size_t height,
                      size_t quality) {
  MagickWandPtr wand = MakePicture(width, height, "JPEG");
  MagickSetImageCompressionQuality(wand.get(), quality);
  std::string error;
  ASSERT_TRUE(WritePictureFile(wand.get(), path, &error)) << error;
}

// A picture of one colour (small as a file at any size).
inline void WriteSolid(const std::filesystem::path& path, size_t width, size_t height,
                       const char* colour, const char* format = "PNG") {
  EnsureMagick();
  MagickWandPtr wand = MakeMagickWand();
  PixelWandPtr fill = MakePixelWand(colour);
  MagickNewImage(wand.get(), width, height, fill.get());
  MagickSetImageFormat(wand.get(), format);
  std::string error;
  ASSERT_TRUE(WritePictureFile(wand.get(), path, &error)) << error;
}

// A PNG whose left half is fully transparent and right half opaque blue.
inline void WriteHalfTransparentPng(const std::filesystem::path& path, size_t width,
                                    size_t height) {
  EnsureMagick();
  MagickWandPtr wand = MakeMagickWand();
  PixelWandPtr none = MakePixelWand("none");
  MagickNewImage(wand.get(), width, height, none.get());
  DrawingWandPtr draw = MakeDrawingWand();
  PixelWandPtr blue = MakePixelWand("#0000ff");
  DrawSetFillColor(draw.get(), blue.get());
  DrawRectangle(draw.get(), width / 2.0, 0, width - 1.0, height - 1.0);
  MagickDrawImage(wand.get(), draw.get());
  MagickSetImageFormat(wand.get(), "PNG");
  std::string error;
  ASSERT_TRUE(WritePictureFile(wand.get(), path, &error)) << error;
}

// The picture read back (first image current); fails the test when it cannot be read.
inline MagickWandPtr ReadBack(const std::filesystem::path& path) {
  EnsureMagick();
  MagickWandPtr wand = MakeMagickWand();
  std::string error;
  EXPECT_TRUE(ReadPictureFile(wand.get(), path, &error)) << path << ": " << error;
  MagickResetIterator(wand.get());
  MagickNextImage(wand.get());
  return wand;
}

// The colour at x, y as "r,g,b,a" with 8-bit channels.
inline std::string PixelAt(MagickWand* wand, long x, long y) {
  PixelWandPtr pixel = MakePixelWand();
  MagickGetImagePixelColor(wand, x, y, pixel.get());
  auto channel = [](double value) { return std::to_string(std::lround(value * 255)); };
  return channel(PixelGetRed(pixel.get())) + "," + channel(PixelGetGreen(pixel.get())) + "," +
         channel(PixelGetBlue(pixel.get())) + "," + channel(PixelGetAlpha(pixel.get()));
}

// The alpha at x, y, 0 (transparent) to 255.
inline long AlphaAt(MagickWand* wand, long x, long y) {
  PixelWandPtr pixel = MakePixelWand();
  MagickGetImagePixelColor(wand, x, y, pixel.get());
  return std::lround(PixelGetAlpha(pixel.get()) * 255);
}

}  // namespace brindle::test
