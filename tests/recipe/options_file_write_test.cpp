// The recipe file as written: every key in order with CR LF and in its stored form, read back
// equal; the configuration file made once; numbers kept under a comma-decimal locale.
#include "recipe/options_file.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "recipe/processing_options.h"
#include "recipe/recipe_samples.h"
#include "support/test_support.h"

namespace brindle {
namespace {

namespace fs = std::filesystem;
using namespace recipe_samples;

// The writer's key order.
const std::vector<std::string> kWriterKeys = {
    "bSize",
    "zoomType",
    "sizeType",
    "zoomUnit",
    "sizeValue",
    "fSizeValue",
    "bZoomSameScale",
    "bQuanlity",
    "quanlity",
    "qualityMode",
    "maxFileSize",
    "bSYText",
    "sy_text",
    "sy_text_rotate",
    "sy_text_opacity",
    "sy_text_w_direction",
    "sy_text_w_value",
    "sy_text_h_direction",
    "sy_text_h_value",
    "sy_text_fontName",
    "sy_text_fontSize",
    "sy_text_isBold",
    "sy_text_isItalic",
    "sy_text_weight",
    "sy_text_isUnderlineDecoration",
    "sy_text_isLineThroughDecoration",
    "sy_text_htmlColor",
    "sy_text_rgbColors",
    "sy_text_background_color",
    "sy_text_border_color",
    "sy_text_border_size",
    "sy_text_border_corner_radius",
    "sy_text_padding_left_right",
    "sy_text_padding_top_bottom",
    "bTextSizeScale",
    "nTextSizeScaleValue",
    "nTextSizeScaleType",
    "bTiled",
    "nTiledSpacing",
    "bSYImage",
    "sy_image",
    "sy_image_w_direction",
    "sy_image_w_value",
    "sy_image_h_direction",
    "sy_image_h_value",
    "sy_image_rotate",
    "sy_image_opacity",
    "sy_image_tiled",
    "sy_image_tiled_spacing",
    "bBorder",
    "border_location",
    "border_size",
    "border_color",
    "border_padding",
    "bLight",
    "lightValue",
    "bContrast",
    "contrastValue",
    "bClearly",
    "clearlyValue",
    "bSaturation",
    "saturationValue",
    "bConvertBlackToWhite",
    "bRemovePhotoOtherInfo",
    "bColorspaceTo",
    "fromColorspace",
    "toColorspace",
    "bUseSRGB_ICC",
    "bDpi",
    "dpi",
    "bDpiResample",
    "outputFormat",
};

// The value of one key in a recipe text.
std::string ValueOf(const std::string& text, const std::string& key) {
  for (const std::string& line : SplitCrLfLines(text)) {
    if (line.compare(0, key.size() + 1, key + "=") == 0) return line.substr(key.size() + 1);
  }
  ADD_FAILURE() << "no line for " << key;
  return {};
}

// ---------------------------------------------------------------------------------------------
// The writer

TEST(WriteOptionsFile, WritesEveryKeyInOrderWithCrLf) {
  // A WebP recipe names its format last; a JPEG recipe leaves the key out (below).
  ProcessingOptions webp = Initial();
  webp.outputFormat = OutputFormat::kWebp;
  const std::string text = FormatOptionsText(webp);
  std::vector<std::string> lines = SplitCrLfLines(text);
  ASSERT_EQ(lines.size(), kWriterKeys.size());
  for (std::size_t i = 0; i < lines.size(); ++i) {
    EXPECT_EQ(lines[i].substr(0, lines[i].find('=')), kWriterKeys[i]) << i;
  }
  EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
  EXPECT_EQ(text.find('\n'), text.find("\r\n") + 1);
  EXPECT_EQ(std::vector<std::string>(OptionKeys().begin(), OptionKeys().end()), kWriterKeys);
  EXPECT_EQ(lines.back(), "outputFormat=WEBP");
}

TEST(WriteOptionsFile, OutputFormatIsWrittenOnlyWhenNotJpeg) {
  ProcessingOptions options = Initial();
  const std::string jpeg = FormatOptionsText(options);
  EXPECT_EQ(jpeg.find("outputFormat"), std::string::npos);
  EXPECT_EQ(SplitCrLfLines(jpeg).size(), kWriterKeys.size() - 1);
  options.outputFormat = OutputFormat::kAvif;
  const std::string avif = FormatOptionsText(options);
  EXPECT_EQ(avif, jpeg + "outputFormat=AVIF\r\n");
  // Read back, by any letter case; a name of no format leaves the format as it was.
  EXPECT_EQ(ReadText(avif).outputFormat, OutputFormat::kAvif);
  EXPECT_EQ(ReadText("outputFormat=webp\r\n").outputFormat, OutputFormat::kWebp);
  EXPECT_EQ(ReadText("outputFormat=GIF\r\n").outputFormat, OutputFormat::kJpg);
  EXPECT_EQ(ReadText(jpeg).outputFormat, OutputFormat::kJpg);
  // The default recipe is what it always was.
  EXPECT_EQ(DefaultOptionsText().find("outputFormat"), std::string::npos);
  EXPECT_EQ(DefaultOptionsText().size(), 745u);
}

TEST(WriteOptionsFile, ValuesAreWrittenInTheirStoredForms) {
  ProcessingOptions options = Initial();
  options.fSizeValue = 37.5f;
  options.dpi = 0;
  options.sy_text_border_color = 0xFFFFFFFFu;
  options.border_color = 0x00FF8040;
  options.sy_text_rgbColors = -16777216;
  options.toColorspace = ColorspaceChoice::kAll;
  options.sy_text = "水印 😀";  // GBK has no emoji
  const std::string text = FormatOptionsText(options);
  EXPECT_EQ(ValueOf(text, "fSizeValue"), "37.500000");
  EXPECT_EQ(ValueOf(text, "dpi"), "-1");
  EXPECT_EQ(ValueOf(text, "sy_text_border_color"), "-1");
  EXPECT_EQ(ValueOf(text, "border_color"), "16744512");
  EXPECT_EQ(ValueOf(text, "sy_text_rgbColors"), "-16777216");
  EXPECT_EQ(ValueOf(text, "sy_text_background_color"), "-1");
  EXPECT_EQ(ValueOf(text, "toColorspace"), "3");
  EXPECT_EQ(ValueOf(text, "sy_text_fontName"), kSongTiGbk);
  EXPECT_EQ(ValueOf(text, "sy_text"), Utf8ToGbk("水印 "));
  EXPECT_EQ(ValueOf(text, "sy_text_htmlColor"), "#000000");
  EXPECT_EQ(ValueOf(FormatOptionsText(Initial()), "fSizeValue"), "100.000000");

  options.dpi = 300;
  EXPECT_EQ(ValueOf(FormatOptionsText(options), "dpi"), "300");
}

TEST(WriteOptionsFile, WrittenRecordReadsBackEqual) {
  TempFolder folder;
  fs::path path = folder / "我的设置.sz";
  test::WriteFile(path, std::string(8000, 'x'));  // an older, longer file is replaced whole
  ASSERT_TRUE(WriteOptionsFile(Filled(), path));
  EXPECT_EQ(test::ReadFile(path), FormatOptionsText(Filled()));

  ProcessingOptions read{};
  ASSERT_TRUE(ReadOptionsFile(read, path));
  EXPECT_EQ(read, Filled());

  ProcessingOptions half;
  half.fSizeValue = 37.5f;
  ASSERT_TRUE(WriteOptionsFile(half, path));
  read = {};
  ASSERT_TRUE(ReadOptionsFile(read, path));
  EXPECT_EQ(read.fSizeValue, 37.5f);
  EXPECT_EQ(read.dpi, -1);
}

TEST(WriteOptionsFile, UnwritablePlaceFailsQuietly) {
  TempFolder folder;
  EXPECT_FALSE(WriteOptionsFile(Initial(), folder / "missing" / "config.dat"));
  EXPECT_FALSE(WriteDefaultOptionsFile(folder / "missing" / "config.dat"));
  EXPECT_FALSE(fs::exists(folder / "missing"));
}

// ---------------------------------------------------------------------------------------------
// config.dat

TEST(ReadConfigFile, MissingConfigIsCreatedFromTheDefaultRecipe) {
  TempFolder folder;
  ProcessingOptions options{};
  ASSERT_TRUE(ReadConfigFile(options, folder / "config.dat"));
  EXPECT_EQ(test::ReadFile(folder / "config.dat"), DefaultOptionsText());
  EXPECT_EQ(options, Initial());
}

TEST(ReadConfigFile, ExistingConfigIsReadAndLeftAsItIs) {
  TempFolder folder;
  test::WriteFile(folder / "config.dat", "sizeValue=320\n");
  ProcessingOptions options{};
  ASSERT_TRUE(ReadConfigFile(options, folder / "config.dat"));
  EXPECT_EQ(options.sizeValue, 320);
  EXPECT_EQ(options.quanlity, 0);
  EXPECT_EQ(test::ReadFile(folder / "config.dat"), "sizeValue=320\n");
}

TEST(ReadConfigFile, ConfigThatCannotBeMadeLeavesTheRecordZeroFilled) {
  TempFolder folder;
  ProcessingOptions options{};
  EXPECT_FALSE(ReadConfigFile(options, folder / "missing" / "config.dat"));
  EXPECT_EQ(options, ProcessingOptions{});
}

// Switches LC_ALL to a comma-decimal locale for the test's lifetime, as a Qt application object
// does with the user's locale; the locale is made with localedef in a temporary folder.
class CommaDecimalLocale {
 public:
  CommaDecimalLocale() {
    const fs::path definition = folder_ / "de_DE.UTF-8";
    const std::string command = "localedef -i de_DE -f UTF-8 '" + definition.string() +
                                "' >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0 && !fs::exists(definition)) return;
    setenv("LOCPATH", folder_.path().c_str(), 1);
    active_ = std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
  }
  ~CommaDecimalLocale() {
    std::setlocale(LC_ALL, "C");
    unsetenv("LOCPATH");
  }
  bool active() const { return active_; }

 private:
  test::TempFolder folder_;
  bool active_ = false;
};

TEST(RecipeLocale, ARecipeWrittenAndReadUnderACommaDecimalLocaleKeepsItsNumbers) {
  CommaDecimalLocale locale;
  ASSERT_TRUE(locale.active()) << "localedef could not make de_DE.UTF-8";
  char printed[32];
  std::snprintf(printed, sizeof printed, "%f", 50.5);
  ASSERT_STREQ(printed, "50,500000");  // the locale really uses a comma

  TempFolder folder;
  ProcessingOptions written = InitialProcessingOptions();
  written.fSizeValue = 50.5f;
  ASSERT_TRUE(WriteOptionsFile(written, folder / "r.sz"));
  EXPECT_NE(test::ReadFile(folder / "r.sz").find("fSizeValue=50.500000\r\n"), std::string::npos);
  ProcessingOptions read{};
  ASSERT_TRUE(ReadOptionsFile(read, folder / "r.sz"));
  EXPECT_EQ(read.fSizeValue, 50.5f);
  EXPECT_EQ(read, written);
}

}  // namespace
}  // namespace brindle
