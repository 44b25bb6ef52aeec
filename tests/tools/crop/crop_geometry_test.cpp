#include "tools/crop/crop_geometry.h"

#include <gtest/gtest.h>

#include "support/test_support.h"
#include "tools/common/tool_test_pictures.h"

namespace brindle {
namespace {

namespace fs = std::filesystem;
using test::TempFolder;

CropToolSettings Fixed(std::optional<int> width, std::optional<int> height, int align) {
  CropToolSettings s;
  s.mode = kCropFixedSize;
  s.fixed_width = width;
  s.fixed_height = height;
  s.align = align;
  return s;
}

CropToolSettings Percent(int width, int height) {
  CropToolSettings s;
  s.mode = kCropPercentage;
  s.percent_width = width;
  s.percent_height = height;
  return s;
}

CropToolSettings Ratio(int width, int height) {
  CropToolSettings s;
  s.mode = kCropRatio;
  s.ratio_width = width;
  s.ratio_height = height;
  return s;
}

CropToolSettings Trim(bool percent, int left, int right, std::optional<int> top = std::nullopt) {
  CropToolSettings s;
  s.mode = kCropTrimSides;
  s.side_in_percent = percent;
  (percent ? s.side_percent_left : s.side_fixed_left) = left;
  (percent ? s.side_percent_right : s.side_fixed_right) = right;
  (percent ? s.side_percent_top : s.side_fixed_top) = top;
  return s;
}

TEST(CropGeometryTest, ModesAndAlignments) {
  struct Case {
    const char* what;
    CropToolSettings settings;
    long long width, height;
    CropGeometry expected;  // width, height, left, top
  };
  const std::vector<Case> cases = {
      {"fixed centre", Fixed(300, 200, kCropCentre), 1000, 500, {300, 200, 350, 150}},
      {"fixed too wide", Fixed(1200, 200, kCropCentre), 1000, 500, {1000, 200, 0, 150}},
      {"width only, bottom right", Fixed(500, {}, kCropBottomRight), 800, 600, {500, 600, 300, 0}},
      {"top left", Fixed(10, 20, kCropTopLeft), 100, 100, {10, 20, 0, 0}},
      {"bottom left", Fixed(10, 20, kCropBottomLeft), 100, 100, {10, 20, 0, 80}},
      {"top right", Fixed(10, 20, kCropTopRight), 100, 100, {10, 20, 90, 0}},
      {"percent 50", Percent(50, 50), 101, 101, {50, 50, 25, 25}},
      {"percent 1 of 50", Percent(1, 100), 50, 40, {1, 40, 24, 0}},
      {"percent above 100", Percent(150, 0), 50, 40, {50, 40, 0, 0}},
      {"ratio 16:9 whole", Ratio(16, 9), 1920, 1080, {1920, 1080, 0, 0}},
      {"ratio 4:3", Ratio(4, 3), 1920, 1080, {1440, 1080, 240, 0}},
      {"ratio 1:1 tall", Ratio(1, 1), 600, 800, {600, 600, 0, 100}},
      {"ratio empty box", Ratio(4, 0), 600, 800, {600, 800, 0, 0}},
      {"ratio thin", Ratio(1, 9999), 100, 10, {1, 10, 49, 0}},
      {"trim pixels", Trim(false, 10, 20), 100, 50, {70, 50, 10, 0}},
      {"trim pixels all", Trim(false, 60, 40, 49), 100, 50, {1, 1, 0, 49}},
      {"trim percent", Trim(true, 10, 10), 1005, 50, {804, 50, 100, 0}},
      {"trim percent all", Trim(true, 50, 50, 99), 1005, 50, {1, 1, 0, 49}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ComputeCropGeometry(c.settings, c.width, c.height), c.expected) << c.what;
  }
}

class CropPictureTest : public ::testing::Test {
 protected:
  void SetUp() override { test::EnsureMagick(); }
  TempFolder folder;
};

TEST_F(CropPictureTest, CutsTheRectangleOutOfThePicture) {
  MagickWandPtr source = test::MakePicture(1000, 500, "PNG");
  std::string error;
  ASSERT_TRUE(WritePictureFile(source.get(), folder / "a.png", &error)) << error;

  CropGeometry geometry;
  MagickWandPtr cropped = CropPicture(folder / "a.png", Fixed(300, 200, kCropCentre), &geometry);
  ASSERT_TRUE(cropped);
  EXPECT_EQ(geometry, (CropGeometry{300, 200, 350, 150}));
  EXPECT_EQ(MagickGetImageWidth(cropped.get()), 300u);
  EXPECT_EQ(MagickGetImageHeight(cropped.get()), 200u);
  size_t page_width = 0, page_height = 0;
  ssize_t page_x = -1, page_y = -1;
  MagickGetImagePage(cropped.get(), &page_width, &page_height, &page_x, &page_y);
  EXPECT_EQ(page_width, 300u);
  EXPECT_EQ(page_x, 0);
  for (auto [x, y] : {std::pair{0L, 0L}, {299L, 199L}, {120L, 77L}}) {
    EXPECT_EQ(test::PixelAt(cropped.get(), x, y), test::PixelAt(source.get(), 350 + x, 150 + y));
  }
}

TEST_F(CropPictureTest, ResolutionIsWrittenInDotsPerInch) {
  auto write_png = [&](const char* name, ResolutionType units, double resolution) {
    MagickWandPtr wand = test::MakePicture(40, 30, "PNG");
    MagickSetImageUnits(wand.get(), units);
    MagickSetImageResolution(wand.get(), resolution, resolution);
    ASSERT_TRUE(WritePictureFile(wand.get(), folder / name, nullptr));
  };
  write_png("cm.png", PixelsPerCentimeterResolution, 28.35);
  write_png("none.png", UndefinedResolution, 0);
  write_png("inch.png", PixelsPerInchResolution, 300);
  struct Case {
    const char* name;
    double expected;
  };
  for (const Case& c : {Case{"cm.png", 72}, Case{"none.png", 72}, Case{"inch.png", 300}}) {
    MagickWandPtr cropped = CropPicture(folder / c.name, Percent(50, 50));
    ASSERT_TRUE(cropped) << c.name;
    double x = 0, y = 0;
    MagickGetImageResolution(cropped.get(), &x, &y);
    EXPECT_EQ(MagickGetImageUnits(cropped.get()), PixelsPerInchResolution) << c.name;
    EXPECT_NEAR(x, c.expected, 0.01) << c.name;
    EXPECT_NEAR(y, c.expected, 0.01) << c.name;
  }
}

}  // namespace
}  // namespace brindle
