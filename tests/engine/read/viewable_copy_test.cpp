#include "engine/read/viewable_copy.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "platform/magick/magick_wand.h"
#include "support/test_support.h"

namespace brindle {
namespace {

namespace fs = std::filesystem;
using test::ReadFile;
using test::TempFolder;

struct Rgb {
  double red, green, blue;  // 0 to 255
};

void WriteWand(MagickWand* wand, const fs::path& path) {
  std::string error;
  ASSERT_TRUE(WritePictureFile(wand, path, &error)) << error;
}

MagickWandPtr ReadBack(const fs::path& path) {
  MagickWandPtr wand = MakeMagickWand();
  std::string error;
  EXPECT_TRUE(ReadPictureFile(wand.get(), path, &error)) << error;
  return wand;
}

std::string Format(MagickWand* wand) {
  MagickTextPtr format(MagickGetImageFormat(wand));
  return format ? format.get() : "";
}

Rgb PixelAt(MagickWand* wand, ssize_t x, ssize_t y) {
  PixelWandPtr pixel = MakePixelWand();
  MagickGetImagePixelColor(wand, x, y, pixel.get());
  return {PixelGetRed(pixel.get()) * 255, PixelGetGreen(pixel.get()) * 255,
          PixelGetBlue(pixel.get()) * 255};
}

void ExpectNear(Rgb actual, Rgb expected, double tolerance, const std::string& where) {
  EXPECT_NEAR(actual.red, expected.red, tolerance) << where;
  EXPECT_NEAR(actual.green, expected.green, tolerance) << where;
  EXPECT_NEAR(actual.blue, expected.blue, tolerance) << where;
}

// A picture of one colour, with a red opaque square in its top-left quarter.
MagickWandPtr SquareOn(const char* background, size_t width, size_t height) {
  test::EnsureMagick();
  MagickWandPtr wand = MakeMagickWand();
  PixelWandPtr fill = MakePixelWand(background);
  MagickNewImage(wand.get(), width, height, fill.get());
  DrawingWandPtr draw = MakeDrawingWand();
  PixelWandPtr red = MakePixelWand("#ff0000");
  DrawSetFillColor(draw.get(), red.get());
  DrawRectangle(draw.get(), 0, 0, width / 2.0 - 1, height / 2.0 - 1);
  MagickDrawImage(wand.get(), draw.get());
  return wand;
}

TEST(MakeViewableCopy, RgbJpegIsShownAsItIs) {
  TempFolder folder;
  test::WritePicture(folder / "photo.jpg", 64, 48, "JPEG");
  std::optional<fs::path> shown = MakeViewableCopy(folder / "photo.jpg", folder / "temp");
  ASSERT_TRUE(shown);
  EXPECT_EQ(*shown, folder / "photo.jpg");
  EXPECT_FALSE(fs::exists(folder / "temp" / "browser.jpg"));
}

TEST(MakeViewableCopy, CmykJpegBecomesAnRgbCopy) {
  TempFolder folder;
  fs::create_directory(folder / "temp");
  MagickWandPtr wand = SquareOn("#3366cc", 60, 40);
  MagickTransformImageColorspace(wand.get(), CMYKColorspace);
  MagickSetImageFormat(wand.get(), "JPEG");
  MagickSetImageCompressionQuality(wand.get(), 95);
  WriteWand(wand.get(), folder / "print.jpg");
  ASSERT_EQ(MagickGetImageColorspace(ReadBack(folder / "print.jpg").get()), CMYKColorspace);

  std::optional<fs::path> shown = MakeViewableCopy(folder / "print.jpg", folder / "temp");
  ASSERT_TRUE(shown);
  EXPECT_EQ(*shown, folder / "temp" / "browser.jpg");
  MagickWandPtr copy = ReadBack(*shown);
  EXPECT_EQ(Format(copy.get()), "JPEG");
  EXPECT_EQ(MagickGetImageColorspace(copy.get()), sRGBColorspace);
  EXPECT_EQ(MagickGetImageWidth(copy.get()), 60u);
  EXPECT_EQ(MagickGetImageHeight(copy.get()), 40u);
  EXPECT_EQ(MagickGetImageCompressionQuality(copy.get()), 90u);
  ExpectNear(PixelAt(copy.get(), 5, 5), {255, 0, 0}, 12, "square");
  ExpectNear(PixelAt(copy.get(), 50, 30), {0x33, 0x66, 0xcc}, 12, "background");
}

TEST(MakeViewableCopy, TransparencyIsFlattenedOntoWhite) {
  TempFolder folder;
  for (const char* format : {"PNG", "GIF", "TIFF"}) {
    MagickWandPtr wand = SquareOn("rgba(0,0,255,0)", 40, 30);
    MagickSetImageFormat(wand.get(), format);
    fs::path path = folder / (std::string("clear.") + format);
    WriteWand(wand.get(), path);
    ASSERT_NE(MagickGetImageAlphaChannel(ReadBack(path).get()), MagickFalse) << format;

    std::optional<fs::path> shown = MakeViewableCopy(path, folder.path());
    ASSERT_TRUE(shown) << format;
    EXPECT_EQ(*shown, folder / "browser.jpg");
    MagickWandPtr copy = ReadBack(*shown);
    EXPECT_EQ(Format(copy.get()), "JPEG");
    ExpectNear(PixelAt(copy.get(), 5, 5), {255, 0, 0}, 12, format);
    ExpectNear(PixelAt(copy.get(), 35, 25), {255, 255, 255}, 6, format);
  }
}

TEST(MakeViewableCopy, BmpLosesItsAlphaWithoutFlattening) {
  TempFolder folder;
  MagickWandPtr wand = SquareOn("rgba(0,0,255,0)", 40, 30);
  MagickSetImageFormat(wand.get(), "BMP");
  WriteWand(wand.get(), folder / "clear.bmp");
  ASSERT_NE(MagickGetImageAlphaChannel(ReadBack(folder / "clear.bmp").get()), MagickFalse);

  std::optional<fs::path> shown = MakeViewableCopy(folder / "clear.bmp", folder.path());
  ASSERT_TRUE(shown);
  MagickWandPtr copy = ReadBack(*shown);
  ExpectNear(PixelAt(copy.get(), 5, 5), {255, 0, 0}, 12, "square");
  // The colour under the transparent pixels shows, not white.
  ExpectNear(PixelAt(copy.get(), 35, 25), {0, 0, 255}, 12, "background");
}

TEST(MakeViewableCopy, FirstPageOfTiffAndMergedPsd) {
  TempFolder folder;
  test::EnsureMagick();
  for (const char* format : {"TIFF", "PSD"}) {
    MagickWandPtr wand = MakeMagickWand();
    PixelWandPtr green = MakePixelWand("#00ff00");
    PixelWandPtr blue = MakePixelWand("#0000ff");
    MagickNewImage(wand.get(), 50, 20, green.get());
    MagickNewImage(wand.get(), 30, 10, blue.get());
    MagickSetFormat(wand.get(), format);
    MagickResetIterator(wand.get());
    size_t length = 0;
    MagickBlobPtr blob(MagickGetImagesBlob(wand.get(), &length));
    ASSERT_TRUE(blob);
    fs::path path = folder / (std::string("pages.") + format);
    test::WriteFile(path, std::string(reinterpret_cast<const char*>(blob.get()), length));
    ASSERT_EQ(MagickGetNumberImages(ReadBack(path).get()), 2u) << format;

    std::optional<fs::path> shown = MakeViewableCopy(path, folder.path());
    ASSERT_TRUE(shown) << format;
    MagickWandPtr copy = ReadBack(*shown);
    EXPECT_EQ(MagickGetNumberImages(copy.get()), 1u) << format;
    EXPECT_EQ(MagickGetImageWidth(copy.get()), 50u) << format;
    EXPECT_EQ(MagickGetImageHeight(copy.get()), 20u) << format;
    ExpectNear(PixelAt(copy.get(), 40, 15), {0, 255, 0}, 12, format);
  }
}

// An Exif block holding only an orientation tag.
std::string ExifWithOrientation(unsigned orientation) {
  std::string tiff("II*\0\x08\0\0\0\x01\0\x12\x01\x03\0\x01\0\0\0", 18);
  tiff += static_cast<char>(orientation);
  tiff += std::string(7, '\0');  // rest of the value field, next directory offset 0
  return std::string("Exif\0\0", 6) + tiff;
}

TEST(MakeViewableCopy, PhotoStoredTurnedGetsAnUprightCopy) {
  TempFolder folder;
  // Stored 60 wide and 40 high with the square top-left; orientation 6 shows it turned clockwise.
  MagickWandPtr wand = SquareOn("#ffffff", 60, 40);
  MagickSetImageFormat(wand.get(), "JPEG");
  std::string exif = ExifWithOrientation(6);
  MagickSetImageProfile(wand.get(), "exif", exif.data(), exif.size());
  // The writer stores the picture's orientation into the Exif block.
  MagickSetImageOrientation(wand.get(), RightTopOrientation);
  WriteWand(wand.get(), folder / "turned.jpg");
  ASSERT_EQ(MagickGetImageOrientation(ReadBack(folder / "turned.jpg").get()), RightTopOrientation);

  std::optional<fs::path> shown = MakeViewableCopy(folder / "turned.jpg", folder.path());
  ASSERT_TRUE(shown);
  EXPECT_EQ(*shown, folder / "browser.jpg");
  MagickWandPtr copy = ReadBack(*shown);
  EXPECT_EQ(MagickGetImageWidth(copy.get()), 40u);
  EXPECT_EQ(MagickGetImageHeight(copy.get()), 60u);
  OrientationType orientation = MagickGetImageOrientation(copy.get());
  EXPECT_TRUE(orientation == TopLeftOrientation || orientation == UndefinedOrientation)
      << orientation;
  // Turned clockwise, the top-left square is now at the top right.
  ExpectNear(PixelAt(copy.get(), 35, 5), {255, 0, 0}, 12, "square");
  ExpectNear(PixelAt(copy.get(), 5, 5), {255, 255, 255}, 12, "white");

  // Orientation 1 is upright already: the original is shown.
  MagickWandPtr upright = SquareOn("#ffffff", 60, 40);
  MagickSetImageFormat(upright.get(), "JPEG");
  exif = ExifWithOrientation(1);
  MagickSetImageProfile(upright.get(), "exif", exif.data(), exif.size());
  MagickSetImageOrientation(upright.get(), TopLeftOrientation);
  WriteWand(upright.get(), folder / "upright.jpg");
  shown = MakeViewableCopy(folder / "upright.jpg", folder / "elsewhere");
  ASSERT_TRUE(shown);
  EXPECT_EQ(*shown, folder / "upright.jpg");
}

TEST(MakeViewableCopy, FailsForUnreadablePicturesAndFailedWrites) {
  TempFolder folder;
  test::WriteFile(folder / "broken.png", std::string("\x89PNG\r\n\x1a\n", 8) + "rubbish");
  std::string error;
  EXPECT_FALSE(MakeViewableCopy(folder / "broken.png", folder.path(), &error));
  EXPECT_FALSE(error.empty());
  EXPECT_FALSE(MakeViewableCopy(folder / "missing.png", folder.path()));
  EXPECT_FALSE(fs::exists(folder / "browser.jpg"));

  test::WritePicture(folder / "fine.png", 20, 20, "PNG");
  error.clear();
  EXPECT_FALSE(MakeViewableCopy(folder / "fine.png", folder / "no" / "such" / "folder", &error));
  EXPECT_FALSE(error.empty());
}

TEST(MakeViewableCopy, ReplacesAnEarlierCopy) {
  TempFolder folder;
  test::WritePicture(folder / "first.png", 30, 20, "PNG");
  test::WritePicture(folder / "second.bmp", 25, 15, "BMP");
  ASSERT_TRUE(MakeViewableCopy(folder / "first.png", folder.path()));
  ASSERT_TRUE(MakeViewableCopy(folder / "second.bmp", folder.path()));
  MagickWandPtr copy = ReadBack(folder / "browser.jpg");
  EXPECT_EQ(MagickGetImageWidth(copy.get()), 25u);
  EXPECT_EQ(MagickGetImageHeight(copy.get()), 15u);
}

}  // namespace
}  // namespace brindle
