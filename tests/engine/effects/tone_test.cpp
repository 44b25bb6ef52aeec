#include "engine/effects/tone.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>

#include "support/test_support.h"

namespace brindle {
namespace {

// Pixels as 8-bit RGB.
std::string Pixels(MagickWand* wand) {
  const size_t width = MagickGetImageWidth(wand);
  const size_t height = MagickGetImageHeight(wand);
  std::string pixels(width * height * 3, '\0');
  MagickExportImagePixels(wand, 0, 0, width, height, "RGB", CharPixel, pixels.data());
  return pixels;
}

int Channel(const std::string& pixels, size_t i) { return static_cast<unsigned char>(pixels[i]); }

// Average over all channels of all pixels.
double MeanLevel(MagickWand* wand) {
  const std::string pixels = Pixels(wand);
  double sum = 0;
  for (size_t i = 0; i < pixels.size(); ++i) sum += Channel(pixels, i);
  return sum / static_cast<double>(pixels.size());
}

// Standard deviation over all channels of all pixels.
double Spread(MagickWand* wand) {
  const std::string pixels = Pixels(wand);
  const double mean = MeanLevel(wand);
  double sum = 0;
  for (size_t i = 0; i < pixels.size(); ++i)
    sum += (Channel(pixels, i) - mean) * (Channel(pixels, i) - mean);
  return std::sqrt(sum / static_cast<double>(pixels.size()));
}

// Mean absolute difference between horizontal neighbours: falls with blur, rises with sharpening.
double Detail(MagickWand* wand) {
  const std::string pixels = Pixels(wand);
  const size_t row = MagickGetImageWidth(wand) * 3;
  double sum = 0;
  size_t count = 0;
  for (size_t i = 0; i + 3 < pixels.size(); ++i) {
    if ((i % row) + 3 >= row) continue;
    sum += std::abs(Channel(pixels, i) - Channel(pixels, i + 3));
    ++count;
  }
  return sum / static_cast<double>(count);
}

// Mean of each pixel's largest difference between two channels, 0 (grey) to 255.
double Colourfulness(MagickWand* wand) {
  const std::string pixels = Pixels(wand);
  double sum = 0;
  for (size_t i = 0; i < pixels.size(); i += 3) {
    int r = Channel(pixels, i), g = Channel(pixels, i + 1), b = Channel(pixels, i + 2);
    sum += std::max({r, g, b}) - std::min({r, g, b});
  }
  return sum / static_cast<double>(pixels.size() / 3);
}

// The largest difference between two channels of any pixel.
int LargestChannelSpread(MagickWand* wand) {
  const std::string pixels = Pixels(wand);
  int spread = 0;
  for (size_t i = 0; i < pixels.size(); i += 3) {
    int r = Channel(pixels, i), g = Channel(pixels, i + 1), b = Channel(pixels, i + 2);
    spread = std::max(spread, std::max({r, g, b}) - std::min({r, g, b}));
  }
  return spread;
}

std::string Signature(MagickWand* wand) {
  MagickTextPtr signature(MagickGetImageSignature(wand));
  return signature ? signature.get() : "";
}

class ToneTest : public ::testing::Test {
 protected:
  void SetUp() override { test::EnsureMagick(); }

  MagickWandPtr Copy() { return MagickWandPtr(CloneMagickWand(original_.get())); }

  MagickWandPtr Adjusted() {
    MagickWandPtr wand = Copy();
    ApplyToneAdjustments(wand.get(), options_);
    return wand;
  }

  ProcessingOptions options_{};
  MagickWandPtr original_ = test::MakePicture(120, 80, "PNG");
};

TEST_F(ToneTest, NothingHappensWithoutASwitchOrWithAZeroValue) {
  const std::string untouched = Signature(original_.get());
  // Values without their switches.
  options_.lightValue = 40;
  options_.contrastValue = 40;
  options_.clearlyValue = 40;
  options_.saturationValue = 40;
  EXPECT_EQ(Signature(Adjusted().get()), untouched);
  // Switches with zero values.
  options_ = {};
  options_.bLight = options_.bContrast = options_.bClearly = options_.bSaturation = 1;
  EXPECT_EQ(Signature(Adjusted().get()), untouched);
}

TEST_F(ToneTest, SaturationMinusHundredGivesAGreyPicture) {
  ASSERT_GT(LargestChannelSpread(original_.get()), 100);
  options_.bSaturation = 1;
  options_.saturationValue = -100;
  MagickWandPtr grey = Adjusted();
  EXPECT_LE(LargestChannelSpread(grey.get()), 1);

  // +100 doubles the saturation: the colours move further apart.
  options_.saturationValue = 100;
  EXPECT_GT(Colourfulness(Adjusted().get()), Colourfulness(original_.get()) * 1.2);
}

TEST_F(ToneTest, BrightnessAndContrastAreSeparateSteps) {
  options_.bLight = 1;
  options_.lightValue = 20;
  MagickWandPtr brighter = Adjusted();
  EXPECT_GT(MeanLevel(brighter.get()), MeanLevel(original_.get()) + 10);

  options_ = {};
  options_.bContrast = 1;
  options_.contrastValue = 30;
  EXPECT_GT(Spread(Adjusted().get()), Spread(original_.get()) * 1.1);

  // Both: brightness first, then contrast on the brightened picture, which is not what one call
  // with both values gives.
  options_.bLight = 1;
  options_.lightValue = 20;
  MagickWandPtr both = Adjusted();
  MagickWandPtr combined = Copy();
  MagickBrightnessContrastImage(combined.get(), 20, 30);
  MagickBrightnessContrastImage(brighter.get(), 0, 30);
  EXPECT_EQ(Signature(both.get()), Signature(brighter.get()));
  EXPECT_NE(Signature(both.get()), Signature(combined.get()));
}

TEST_F(ToneTest, NegativeSharpnessBlursAndPositiveSharpens) {
  const double detail = Detail(original_.get());
  options_.bClearly = 1;
  options_.clearlyValue = -15;
  MagickWandPtr blurred = Adjusted();
  EXPECT_LT(Detail(blurred.get()), detail * 0.8);
  // A Gaussian blur of sigma 1.5 over a whole-pixel radius of 2, the same every time: with the
  // radius 1.5 itself, ImageMagick's result varies from call to call.
  MagickWandPtr expected = Copy();
  MagickGaussianBlurImage(expected.get(), 2, 1.5);
  for (int attempt = 0; attempt < 20; ++attempt) {
    EXPECT_EQ(Signature(Adjusted().get()), Signature(expected.get())) << attempt;
  }
  // Radii that ImageMagick handles well are kept: 0.7 blurs as 1 and 1.2 as 1.
  options_.clearlyValue = -7;
  MagickWandPtr expected_07 = Copy();
  MagickGaussianBlurImage(expected_07.get(), 0.7, 0.7);
  EXPECT_EQ(Signature(Adjusted().get()), Signature(expected_07.get()));
  options_.clearlyValue = -12;
  MagickWandPtr expected_12 = Copy();
  MagickGaussianBlurImage(expected_12.get(), 1.2, 1.2);
  EXPECT_EQ(Signature(Adjusted().get()), Signature(expected_12.get()));

  options_.clearlyValue = 25;
  EXPECT_GT(Detail(Adjusted().get()), detail * 1.2);
}

TEST_F(ToneTest, BlackAndWhite) {
  options_.bConvertBlackToWhite = 0;
  ApplyBlackAndWhite(original_.get(), options_);
  EXPECT_EQ(MagickGetImageColorspace(original_.get()), sRGBColorspace);
  options_.bConvertBlackToWhite = 1;
  ApplyBlackAndWhite(original_.get(), options_);
  EXPECT_EQ(MagickGetImageColorspace(original_.get()), GRAYColorspace);
}

}  // namespace
}  // namespace brindle
