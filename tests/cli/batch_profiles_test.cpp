// brindle-cli batch with a picture watermark and colour-space conversion: the watermark picture is
// prepared once for the run, and the colour profiles come from the data folder.

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "engine/read/picture_read.h"
#include "support/test_support.h"

namespace brindle {
namespace {

namespace fs = std::filesystem;
using test::RunCli;

class BatchProfilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::EnsureMagick();
    fs::create_directory(out_);
  }

  fs::path Plain(const std::string& name, const char* color, size_t width, size_t height,
                 ColorspaceType colorspace = sRGBColorspace) {
    MagickWandPtr wand = MakeMagickWand();
    PixelWandPtr fill = MakePixelWand(color);
    MagickNewImage(wand.get(), width, height, fill.get());
    if (colorspace != sRGBColorspace) MagickTransformImageColorspace(wand.get(), colorspace);
    MagickSetImageFormat(wand.get(), fs::path(name).extension() == ".png" ? "PNG" : "JPEG");
    fs::path path = folder_ / name;
    EXPECT_TRUE(WritePictureFile(wand.get(), path, nullptr));
    return path;
  }

  test::TempFolder folder_;
  fs::path out_ = folder_ / "out";
};

TEST_F(BatchProfilesTest, UnreadableWatermarkPictureRefusesTheRun) {
  fs::path photo = Plain("photo.jpg", "#336699", 200, 100);
  test::WriteFile(folder_ / "logo.png", "\x89PNG broken");
  const std::string logo = (folder_ / "logo.png").string();
  test::CommandResult result =
      RunCli({"batch", "--out", out_.string(), "bSYImage=1", "sy_image=" + logo, photo.string()});
  // It opens but does not decode: refused by the format check before any preparation.
  EXPECT_EQ(result.status, 2);
  EXPECT_EQ(result.err, "水印图片格式不对，请重新选择\n");
  EXPECT_TRUE(fs::is_empty(out_));

  // The same path with the watermark switched off is not read at all.
  result =
      RunCli({"batch", "--out", out_.string(), "bSYImage=0", "sy_image=" + logo, photo.string()});
  EXPECT_EQ(result.status, 0) << result.err;
}

TEST_F(BatchProfilesTest, WatermarkIsLaidOnEveryPicture) {
  const fs::path logo = Plain("logo.png", "#ff0000", 30, 20);
  const std::vector<fs::path> photos = {Plain("a.jpg", "#336699", 200, 100),
                                        Plain("b.png", "#336699", 120, 90)};
  test::CommandResult result =
      RunCli({"batch", "--out", out_.string(), "bSYImage=1", "sy_image=" + logo.string(),
              photos[0].string(), photos[1].string()});
  ASSERT_EQ(result.status, 0) << result.err;
  for (const char* name : {"a.jpg", "b.jpg"}) {
    MagickWandPtr saved = ReadPicture(out_ / name);
    ASSERT_TRUE(saved) << name;
    const ssize_t right = static_cast<ssize_t>(MagickGetImageWidth(saved.get())) - 16 - 15;
    const ssize_t bottom = static_cast<ssize_t>(MagickGetImageHeight(saved.get())) - 16 - 10;
    PixelWandPtr pixel = MakePixelWand();
    MagickGetImagePixelColor(saved.get(), right, bottom, pixel.get());
    EXPECT_GT(PixelGetRed(pixel.get()), 0.9) << name;
    EXPECT_LT(PixelGetBlue(pixel.get()), 0.1) << name;
    MagickGetImagePixelColor(saved.get(), 10, 10, pixel.get());
    EXPECT_LT(PixelGetRed(pixel.get()), 0.3) << name;
  }
}

TEST_F(BatchProfilesTest, CmykPictureIsConvertedWithTheInstalledProfiles) {
  fs::path cmyk = Plain("print.jpg", "#3366cc", 64, 48, CMYKColorspace);
  test::CommandResult result = RunCli({"batch", "--out", out_.string(), "bColorspaceTo=1",
                                       "fromColorspace=0", "toColorspace=2", cmyk.string()});
  ASSERT_EQ(result.status, 0) << result.err;
  // The CMYK default of a fresh machine is missing; the installed CMYK profile stands in silently.
  EXPECT_EQ(result.err, "");
  MagickWandPtr saved = ReadPicture(out_ / "print.jpg");
  ASSERT_TRUE(saved);
  EXPECT_EQ(MagickGetImageColorspace(saved.get()), sRGBColorspace);
  size_t length = 0;
  MagickBlobPtr icc(MagickGetImageProfile(saved.get(), "icc", &length));
  ASSERT_TRUE(icc);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(icc.get()), length),
            test::ReadFile(test::DataFolder() / "icc" / "sRGB.icc"));
}

}  // namespace
}  // namespace brindle
