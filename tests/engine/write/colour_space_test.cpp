#include "engine/write/colour_space.h"

#include <gtest/gtest.h>

#include "base/info_log.h"
#include "engine/process/process_picture.h"
#include "engine/read/picture_read.h"
#include "support/test_support.h"

namespace brindle {
namespace {

namespace fs = std::filesystem;

std::string ProfileOf(MagickWand* wand) {
  size_t length = 0;
  MagickBlobPtr profile(MagickGetImageProfile(wand, "icc", &length));
  return profile ? std::string(reinterpret_cast<const char*>(profile.get()), length) : "";
}

std::string Signature(MagickWand* wand) {
  MagickTextPtr signature(MagickGetImageSignature(wand));
  return signature ? signature.get() : "";
}

void Apply(MagickWand* wand, const std::string& profile) {
  ASSERT_EQ(MagickProfileImage(wand, "ICC", profile.data(), profile.size()), MagickTrue);
}

class ColourSpaceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::EnsureMagick();
    InfoLog::Global().Clear();
    const fs::path icc = test::DataFolder() / "icc";
    ASSERT_TRUE(LoadRgbProfiles(icc, profiles_).empty());
    ASSERT_TRUE(LoadCmykProfile(icc, "default_cmyk.icc", profiles_).loaded);
    options_.bColorspaceTo = 1;
  }

  // A picture in the given colour space, without a profile.
  MagickWandPtr Picture(ColorspaceType colorspace) {
    MagickWandPtr wand = test::MakePicture(64, 48, "JPEG");
    MagickTransformImageColorspace(wand.get(), colorspace);
    return wand;
  }

  // A plain sRGB picture of one colour carrying the sRGB profile.
  MagickWandPtr Tagged(const char* color) {
    MagickWandPtr wand = MakeMagickWand();
    PixelWandPtr fill = MakePixelWand(color);
    MagickNewImage(wand.get(), 10, 10, fill.get());
    MagickSetImageProfile(wand.get(), "icc", profiles_.srgb.data(), profiles_.srgb.size());
    return wand;
  }

  void Convert(MagickWand* wand, ColorspaceChoice from, ColorspaceChoice to) {
    options_.fromColorspace = from;
    options_.toColorspace = to;
    ConvertColourSpace(wand, options_, profiles_);
  }

  ProcessingOptions options_{};
  IccProfiles profiles_;
};

TEST_F(ColourSpaceTest, CmykToRgbRunsEarlyEverythingElseLate) {
  MagickWandPtr cmyk = Picture(CMYKColorspace);
  MagickWandPtr srgb = Picture(sRGBColorspace);
  using C = ColorspaceChoice;
  struct Case {
    C from, to;
    MagickWand* wand;
    bool early;
  };
  for (const Case& c :
       {Case{C::kCmyk, C::kSrgb, cmyk.get(), true}, Case{C::kAll, C::kRgb, cmyk.get(), true},
        Case{C::kCmyk, C::kCmyk, cmyk.get(), false}, Case{C::kRgb, C::kSrgb, cmyk.get(), false},
        Case{C::kAll, C::kCmyk, srgb.get(), false}, Case{C::kCmyk, C::kSrgb, srgb.get(), false}}) {
    options_.fromColorspace = c.from;
    options_.toColorspace = c.to;
    EXPECT_EQ(ColourSpaceConversionRunsEarly(options_, c.wand), c.early)
        << static_cast<int>(c.from) << "->" << static_cast<int>(c.to);
  }
  options_.bColorspaceTo = 0;
  options_.fromColorspace = C::kCmyk;
  options_.toColorspace = C::kSrgb;
  EXPECT_FALSE(ColourSpaceConversionRunsEarly(options_, cmyk.get()));
}

TEST_F(ColourSpaceTest, PicturesOutsideTheSourceChoiceAreLeftAlone) {
  MagickWandPtr srgb = Picture(sRGBColorspace);
  const std::string before = Signature(srgb.get());
  using C = ColorspaceChoice;
  for (auto [from, to] : {std::pair{C::kCmyk, C::kSrgb},
                          {C::kCmyk, C::kCmyk},
                          {C::kRgb, C::kCmyk},
                          {C::kSrgb, C::kSrgb}}) {
    Convert(srgb.get(), from, to);
    EXPECT_EQ(MagickGetImageColorspace(srgb.get()), sRGBColorspace);
    EXPECT_EQ(ProfileOf(srgb.get()), "");
    EXPECT_EQ(Signature(srgb.get()), before);
  }
  // The switch off: nothing, whatever the choices.
  options_.bColorspaceTo = 0;
  Convert(srgb.get(), C::kAll, C::kCmyk);
  EXPECT_EQ(MagickGetImageColorspace(srgb.get()), sRGBColorspace);
}

TEST_F(ColourSpaceTest, ConversionsApplyTheTargetProfile) {
  using C = ColorspaceChoice;
  MagickWandPtr to_cmyk = Tagged("#20c040");
  Convert(to_cmyk.get(), C::kSrgb, C::kCmyk);
  EXPECT_EQ(MagickGetImageColorspace(to_cmyk.get()), CMYKColorspace);
  EXPECT_EQ(ProfileOf(to_cmyk.get()), profiles_.cmyk);

  // Without a profile of their own, pictures are still transformed.
  MagickWandPtr untagged = Picture(sRGBColorspace);
  Convert(untagged.get(), C::kSrgb, C::kCmyk);
  EXPECT_EQ(MagickGetImageColorspace(untagged.get()), CMYKColorspace);

  // A grey picture with "全部" is converted like any other.
  MagickWandPtr grey = Picture(GRAYColorspace);
  Convert(grey.get(), C::kAll, C::kSrgb);
  EXPECT_EQ(MagickGetImageColorspace(grey.get()), sRGBColorspace);

  // A CMYK picture bound for CMYK only gets the assumed profile.
  MagickWandPtr cmyk = Picture(CMYKColorspace);
  const std::string before = Signature(cmyk.get());
  Convert(cmyk.get(), C::kCmyk, C::kCmyk);
  EXPECT_EQ(MagickGetImageColorspace(cmyk.get()), CMYKColorspace);
  EXPECT_EQ(ProfileOf(cmyk.get()), profiles_.cmyk);
  EXPECT_EQ(Signature(cmyk.get()), before);
}

TEST_F(ColourSpaceTest, AdobeRgbPictureKeepsItsProfileAndItsColours) {
  MagickWandPtr wand = Tagged("#20c040");
  Convert(wand.get(), ColorspaceChoice::kSrgb, ColorspaceChoice::kRgb);
  EXPECT_EQ(ProfileOf(wand.get()), profiles_.adobe_rgb);

  // Saved, read back and shown in sRGB, the colour is the one it was.
  test::TempFolder folder;
  MagickSetImageFormat(wand.get(), "JPEG");
  MagickSetImageCompressionQuality(wand.get(), 100);
  ASSERT_TRUE(WritePictureFile(wand.get(), folder / "adobe.jpg", nullptr));
  MagickWandPtr saved = ReadPicture(folder / "adobe.jpg");
  EXPECT_EQ(ProfileOf(saved.get()), profiles_.adobe_rgb);
  Apply(saved.get(), profiles_.srgb);
  PixelWandPtr pixel = MakePixelWand();
  MagickGetImagePixelColor(saved.get(), 5, 5, pixel.get());
  EXPECT_NEAR(PixelGetRed(pixel.get()) * 255, 0x20, 3);
  EXPECT_NEAR(PixelGetGreen(pixel.get()) * 255, 0xc0, 3);
  EXPECT_NEAR(PixelGetBlue(pixel.get()) * 255, 0x40, 3);
}

TEST_F(ColourSpaceTest, CmykPictureKeepsItsOwnProfileAsSource) {
  const std::string own = test::ReadFile("/usr/share/color/icc/ghostscript/ps_cmyk.icc");
  ASSERT_FALSE(own.empty());
  ASSERT_NE(own, profiles_.cmyk);
  MagickWandPtr tagged = Picture(CMYKColorspace);
  MagickSetImageProfile(tagged.get(), "icc", own.data(), own.size());
  MagickWandPtr expected(CloneMagickWand(tagged.get()));
  Apply(expected.get(), profiles_.srgb);

  Convert(tagged.get(), ColorspaceChoice::kCmyk, ColorspaceChoice::kSrgb);
  EXPECT_EQ(MagickGetImageColorspace(tagged.get()), sRGBColorspace);
  EXPECT_EQ(ProfileOf(tagged.get()), profiles_.srgb);
  EXPECT_EQ(Signature(tagged.get()), Signature(expected.get()));
}

TEST_F(ColourSpaceTest, AbsentProfilesAreSkippedButTheTransformHappens) {
  profiles_ = {};
  MagickWandPtr cmyk = Picture(CMYKColorspace);
  Convert(cmyk.get(), ColorspaceChoice::kCmyk, ColorspaceChoice::kSrgb);
  EXPECT_EQ(MagickGetImageColorspace(cmyk.get()), sRGBColorspace);
  EXPECT_EQ(ProfileOf(cmyk.get()), "");
}

TEST_F(ColourSpaceTest, CmykJpegIsMadeSrgbBeforeTheBrightnessStep) {
  test::TempFolder folder;
  MagickWandPtr cmyk = Picture(CMYKColorspace);
  fs::path source = folder / "cmyk.jpg";
  ASSERT_TRUE(WritePictureFile(cmyk.get(), source, nullptr));

  RunRecipe recipe;
  recipe.options = InitialProcessingOptions();
  recipe.options.bColorspaceTo = 1;
  recipe.options.fromColorspace = ColorspaceChoice::kCmyk;
  recipe.options.toColorspace = ColorspaceChoice::kSrgb;
  recipe.options.bLight = 1;
  recipe.options.lightValue = 20;
  recipe.profiles = profiles_;

  ProcessResult written = ProcessPicture(recipe, source, folder / "out.jpg", 0, 0);
  ASSERT_EQ(written.outcome, ProcessOutcome::kWritten) << InfoLog::Global().Text();
  MagickWandPtr saved = ReadPicture(folder / "out.jpg");
  EXPECT_EQ(MagickGetImageColorspace(saved.get()), sRGBColorspace);
  EXPECT_EQ(ProfileOf(saved.get()), profiles_.srgb);

  // The picture is the source given the CMYK default, converted to sRGB, then brightened; not the
  // source brightened in CMYK and then converted.
  ProcessResult handed = ProcessPicture(recipe, source, std::nullopt, 0, 0);
  ASSERT_TRUE(handed.wand);
  MagickWandPtr converted_first = ReadPicture(source);
  Apply(converted_first.get(), profiles_.cmyk);
  Apply(converted_first.get(), profiles_.srgb);
  MagickBrightnessContrastImage(converted_first.get(), 20, 0);
  MagickWandPtr brightened_first = ReadPicture(source);
  MagickBrightnessContrastImage(brightened_first.get(), 20, 0);
  Apply(brightened_first.get(), profiles_.cmyk);
  Apply(brightened_first.get(), profiles_.srgb);
  EXPECT_EQ(Signature(handed.wand.get()), Signature(converted_first.get()));
  EXPECT_NE(Signature(handed.wand.get()), Signature(brightened_first.get()));
}

TEST_F(ColourSpaceTest, SrgbPictureWithCmykSourceChoiceIsSavedUnchanged) {
  test::TempFolder folder;
  fs::path source = folder / "srgb.png";
  test::WritePicture(source, 64, 48, "PNG");
  RunRecipe recipe;
  recipe.options = InitialProcessingOptions();
  recipe.options.bColorspaceTo = 1;
  recipe.options.fromColorspace = ColorspaceChoice::kCmyk;
  recipe.options.toColorspace = ColorspaceChoice::kCmyk;
  recipe.profiles = profiles_;
  ProcessResult handed = ProcessPicture(recipe, source, std::nullopt, 0, 0);
  ASSERT_TRUE(handed.wand);
  EXPECT_EQ(MagickGetImageColorspace(handed.wand.get()), sRGBColorspace);
  EXPECT_EQ(ProfileOf(handed.wand.get()), "");
  EXPECT_EQ(Signature(handed.wand.get()), Signature(ReadPicture(source).get()));
}

}  // namespace
}  // namespace brindle
