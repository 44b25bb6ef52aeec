#include "engine/effects/resolution.h"

#include <gtest/gtest.h>

#include "base/info_log.h"
#include "engine/process/process_picture.h"
#include "engine/read/picture_read.h"
#include "support/test_support.h"

namespace brindle {
namespace {

namespace fs = std::filesystem;

struct Saved {
  ResolutionType units;
  double x, y;
  size_t width, height;
};

class ResolutionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::EnsureMagick();
    InfoLog::Global().Clear();
    recipe_.options = InitialProcessingOptions();
  }

  fs::path Source(const std::string& name, size_t width, size_t height, const char* format,
                  ResolutionType units, double x, double y) {
    MagickWandPtr wand = test::MakePicture(width, height, format);
    MagickSetImageUnits(wand.get(), units);
    MagickSetImageResolution(wand.get(), x, y);
    fs::path path = folder_ / name;
    std::string error;
    EXPECT_TRUE(WritePictureFile(wand.get(), path, &error)) << error;
    return path;
  }

  // Processes the source and reads back what the saved JPEG says.
  Saved Process(const fs::path& source) {
    fs::path target = folder_ / (source.stem().string() + "-out.jpg");
    ProcessResult result = ProcessPicture(recipe_, source, target, 0, 0);
    EXPECT_EQ(result.outcome, ProcessOutcome::kWritten) << InfoLog::Global().Text();
    MagickWandPtr back = ReadPicture(target);
    Saved saved{MagickGetImageUnits(back.get()), 0, 0, MagickGetImageWidth(back.get()),
                MagickGetImageHeight(back.get())};
    MagickGetImageResolution(back.get(), &saved.x, &saved.y);
    return saved;
  }

  test::TempFolder folder_;
  RunRecipe recipe_;
};

TEST_F(ResolutionTest, PerCentimetreIsSavedAsWholeDotsPerInch) {
  fs::path source = Source("cm.jpg", 40, 30, "JPEG", PixelsPerCentimeterResolution, 180, 180);
  {
    // The source really says 180 per centimetre.
    MagickWandPtr check = ReadPicture(source);
    ASSERT_EQ(MagickGetImageUnits(check.get()), PixelsPerCentimeterResolution);
  }
  Saved saved = Process(source);
  EXPECT_EQ(saved.units, PixelsPerInchResolution);
  EXPECT_DOUBLE_EQ(saved.x, 457);
  EXPECT_DOUBLE_EQ(saved.y, 457);
}

TEST_F(ResolutionTest, PngPerMetreValuesKeepTheirWholeDotsPerInch) {
  // 300 dpi is stored as 11811 pixels per metre and reads back as 299.9994 dpi.
  Saved saved = Process(Source("png300.png", 40, 30, "PNG", PixelsPerInchResolution, 300, 300));
  EXPECT_EQ(saved.units, PixelsPerInchResolution);
  EXPECT_DOUBLE_EQ(saved.x, 300);
  saved = Process(Source("png72.png", 40, 30, "PNG", PixelsPerInchResolution, 72, 72));
  EXPECT_DOUBLE_EQ(saved.x, 72);
}

TEST_F(ResolutionTest, PictureWithoutResolutionIsSavedAt72) {
  // A PNG without a resolution reads as undefined units and 0 x 0; a BMP without one as 0 x 0
  // per centimetre.
  for (const char* name : {"none.png", "none.bmp"}) {
    fs::path source = Source(name, 40, 30, fs::path(name).extension() == ".png" ? "PNG" : "BMP",
                             UndefinedResolution, 0, 0);
    MagickWandPtr check = ReadPicture(source);
    double x = -1, y = -1;
    MagickGetImageResolution(check.get(), &x, &y);
    ASSERT_EQ(x, 0) << name;
    ASSERT_EQ(y, 0) << name;
    Saved saved = Process(source);
    EXPECT_EQ(saved.units, PixelsPerInchResolution) << name;
    EXPECT_DOUBLE_EQ(saved.x, 72) << name;
    EXPECT_DOUBLE_EQ(saved.y, 72) << name;
  }

  // Units undefined but a resolution present (an aspect ratio): written back as it is.
  MagickWandPtr wand = test::MakePicture(10, 10, "PNG");
  ApplyResolution(wand.get(), recipe_.options, {UndefinedResolution, 2, 1});
  double x = 0, y = 0;
  MagickGetImageResolution(wand.get(), &x, &y);
  EXPECT_EQ(MagickGetImageUnits(wand.get()), UndefinedResolution);
  EXPECT_DOUBLE_EQ(x, 2);
  EXPECT_DOUBLE_EQ(y, 1);
}

TEST_F(ResolutionTest, SetDotsPerInchWithAndWithoutResampling) {
  fs::path source = Source("p150.jpg", 1200, 800, "JPEG", PixelsPerInchResolution, 150, 150);
  recipe_.options.bDpi = 1;
  recipe_.options.dpi = 300;
  recipe_.options.bDpiResample = 0;
  Saved relabelled = Process(source);
  EXPECT_EQ(relabelled.width, 1200u);
  EXPECT_DOUBLE_EQ(relabelled.x, 300);

  recipe_.options.bDpiResample = 1;
  Saved resampled = Process(source);
  EXPECT_EQ(resampled.width, 2400u);
  EXPECT_EQ(resampled.height, 1600u);
  EXPECT_EQ(resampled.units, PixelsPerInchResolution);
  EXPECT_DOUBLE_EQ(resampled.x, 300);
  EXPECT_DOUBLE_EQ(resampled.y, 300);

  // Only the horizontal value is compared: 300 x 72 is not resampled and stays 300 x 72.
  Saved kept = Process(Source("p300x72.jpg", 120, 80, "JPEG", PixelsPerInchResolution, 300, 72));
  EXPECT_EQ(kept.width, 120u);
  EXPECT_EQ(kept.height, 80u);
  EXPECT_DOUBLE_EQ(kept.x, 300);
  EXPECT_DOUBLE_EQ(kept.y, 72);

  // Per centimetre is converted before comparing: 60 per cm = 152.4 dpi, resampled to 300.
  Saved from_cm =
      Process(Source("cm60.jpg", 254, 254, "JPEG", PixelsPerCentimeterResolution, 60, 60));
  EXPECT_EQ(from_cm.width, 500u);
  EXPECT_DOUBLE_EQ(from_cm.x, 300);
}

TEST_F(ResolutionTest, EmptyDotsPerInchKeepsThePicturesOwnResolution) {
  recipe_.options.bDpi = 1;
  recipe_.options.dpi = -1;
  recipe_.options.bDpiResample = 1;
  MagickWandPtr wand = test::MakePicture(50, 40, "PNG");
  MagickSetImageUnits(wand.get(), PixelsPerCentimeterResolution);
  MagickSetImageResolution(wand.get(), 40, 30);
  ApplyResolution(wand.get(), recipe_.options, ReadPictureResolution(wand.get()));
  double x = 0, y = 0;
  MagickGetImageResolution(wand.get(), &x, &y);
  EXPECT_EQ(MagickGetImageUnits(wand.get()), PixelsPerCentimeterResolution);
  EXPECT_DOUBLE_EQ(x, 40);
  EXPECT_DOUBLE_EQ(y, 30);
  EXPECT_EQ(MagickGetImageWidth(wand.get()), 50u);
}

}  // namespace
}  // namespace brindle
