#include "recipe/options_file.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <ostream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "platform/text/text_encoding.h"
#include "recipe/processing_options.h"
#include "support/test_support.h"

namespace brindle {

// Failure messages show a record as its recipe text.
void PrintTo(const ProcessingOptions& options, std::ostream* out) {
  *out << "\n" << GbkToUtf8(FormatOptionsText(options));
}

namespace {

namespace fs = std::filesystem;
using test::TempFolder;

const std::string kSongTiGbk = "\xCB\xCE\xCC\xE5";

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

// A zero-filled record after the reader's presets.
ProcessingOptions Presets() {
  ProcessingOptions o{};
  o.bZoomSameScale = 1;
  o.dpi = -1;
  o.toColorspace = ColorspaceChoice::kSrgb;
  o.sy_text_background_color = -1;
  o.fSizeValue = 100.0f;
  o.nTextSizeScaleValue = 6;
  o.nTiledSpacing = 16;
  o.sy_image_tiled_spacing = 16;
  o.sy_text_weight = 400;
  o.sy_text_fontSize = 26;
  return o;
}

// What a fresh installation starts with.
ProcessingOptions Initial() {
  ProcessingOptions o{};
  o.sizeValue = 750;
  o.fSizeValue = 100.0f;
  o.bZoomSameScale = 1;
  o.quanlity = 91;
  o.sy_text_opacity = 100;
  o.sy_text_w_direction = 2;
  o.sy_text_w_value = 16;
  o.sy_text_h_direction = 2;
  o.sy_text_h_value = 16;
  o.sy_text_fontName = "宋体";
  o.sy_text_fontSize = 26;
  o.sy_text_htmlColor = "#000000";
  o.sy_text_weight = 400;
  o.sy_text_background_color = -1;
  o.nTextSizeScaleValue = 6;
  o.nTiledSpacing = 16;
  o.sy_image_w_direction = 2;
  o.sy_image_w_value = 16;
  o.sy_image_h_direction = 2;
  o.sy_image_h_value = 16;
  o.sy_image_opacity = 100;
  o.sy_image_tiled_spacing = 16;
  o.toColorspace = ColorspaceChoice::kSrgb;
  o.dpi = -1;
  return o;
}

// Every field set, each to a value of its own that none of the presets has.
ProcessingOptions Filled() {
  ProcessingOptions o{};
  o.bSize = 1;
  o.zoomType = ZoomType::kScale;
  o.sizeType = SizeType::kLongerSide;
  o.sizeValue = 1234;
  o.fSizeValue = 37.25f;
  o.zoomUnit = ZoomUnit::kPercent;
  o.bZoomSameScale = 0;
  o.bQuanlity = 1;
  o.quanlity = 77;
  o.qualityMode = QualityMode::kMaxFileSize;
  o.maxFileSize = 512;
  o.bSYText = 1;
  o.sy_text = "版权所有 Brindle 2024年";
  o.sy_text_rotate = 45;
  o.sy_text_opacity = 60;
  o.sy_text_w_direction = 1;
  o.sy_text_w_value = 21;
  o.sy_text_h_direction = 0;
  o.sy_text_h_value = 22;
  o.sy_text_fontName = "微软雅黑";
  o.sy_text_fontSize = 31;
  o.sy_text_rgbColors = 0x00123456;
  o.sy_text_htmlColor = "#563412";
  o.sy_text_isItalic = 1;
  o.sy_text_isBold = 1;
  o.sy_text_weight = 700;
  o.sy_text_isUnderlineDecoration = 1;
  o.sy_text_isLineThroughDecoration = 1;
  o.sy_text_background_color = 0x00ABCDEF;
  o.sy_text_border_size = 3;
  o.sy_text_border_corner_radius = 5;
  o.sy_text_border_color = 0xFFFFFFFFu;
  o.sy_text_padding_left_right = 7;
  o.sy_text_padding_top_bottom = 8;
  o.bTextSizeScale = 1;
  o.nTextSizeScaleValue = 9;
  o.nTextSizeScaleType = 1;
  o.bTiled = 1;
  o.nTiledSpacing = 33;
  o.bSYImage = 1;
  o.sy_image = "/home/用户/图片/标志 logo.png";
  o.sy_image_w_direction = 1;
  o.sy_image_w_value = 41;
  o.sy_image_h_direction = 1;
  o.sy_image_h_value = 42;
  o.sy_image_rotate = 90;
  o.sy_image_opacity = 50;
  o.sy_image_tiled = 1;
  o.sy_image_tiled_spacing = 44;
  o.bBorder = 1;
  o.border_location = BorderLocation::kInside;
  o.border_size = 12;
  o.border_color = -16777216;
  o.border_padding = 4;
  o.bLight = 1;
  o.lightValue = -20;
  o.bContrast = 1;
  o.contrastValue = 30;
  o.bClearly = 1;
  o.clearlyValue = -40;
  o.bSaturation = 1;
  o.saturationValue = 50;
  o.bConvertBlackToWhite = 1;
  o.bRemovePhotoOtherInfo = 1;
  o.bColorspaceTo = 1;
  o.fromColorspace = ColorspaceChoice::kAll;
  o.toColorspace = ColorspaceChoice::kRgb;
  o.bUseSRGB_ICC = 1;
  o.bDpi = 1;
  o.dpi = 300;
  o.bDpiResample = 1;
  return o;
}

// Reads bytes written to a file over the given record.
ProcessingOptions ReadText(const std::string& bytes, ProcessingOptions start = {}) {
  TempFolder folder;
  test::WriteFile(folder / "recipe.sz", bytes);
  EXPECT_TRUE(ReadOptionsFile(start, folder / "recipe.sz"));
  return start;
}

std::vector<std::string> SplitCrLfLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t end = text.find("\r\n", pos);
    if (end == std::string::npos) {
      lines.push_back(text.substr(pos));
      break;
    }
    lines.push_back(text.substr(pos, end - pos));
    pos = end + 2;
  }
  return lines;
}

// The value of one key in a recipe text.
std::string ValueOf(const std::string& text, const std::string& key) {
  for (const std::string& line : SplitCrLfLines(text)) {
    if (line.compare(0, key.size() + 1, key + "=") == 0) return line.substr(key.size() + 1);
  }
  ADD_FAILURE() << "no line for " << key;
  return {};
}

std::string Repeat(const std::string& piece, int count) {
  std::string text;
  for (int i = 0; i < count; ++i) text += piece;
  return text;
}

// ---------------------------------------------------------------------------------------------
// The default recipe

TEST(DefaultRecipe, IsTheExactTextInGbkWithCrLf) {
  const std::vector<std::string> lines = {
      "bSize=0",
      "zoomType=0",
      "sizeType=0",
      "zoomUnit=0",
      "sizeValue=750",
      "fSizeValue=100",
      "bZoomSameScale=1",
      "bQuanlity=0",
      "quanlity=91",
      "qualityMode=0",
      "maxFileSize=0",
      "bTextSizeScale=0",
      "nTextSizeScaleValue=6",
      "nTextSizeScaleType=0",
      "bTiled=0",
      "nTiledSpacing=16",
      "sy_text=",
      "sy_text_w_direction=2",
      "sy_text_w_value=16",
      "sy_text_h_direction=2",
      "sy_text_h_value=16",
      "sy_text_rotate=0",
      "sy_text_opacity=100",
      "sy_text_fontName=" + kSongTiGbk,
      "sy_text_fontSize=26",
      "sy_text_isBold=0",
      "sy_text_isItalic=0",
      "sy_text_weight=400",
      "sy_text_htmlColor=#000000",
      "sy_text_rgbColors=0",
      "sy_image=",
      "sy_image_w_direction=2",
      "sy_image_w_value=16",
      "sy_image_h_direction=2",
      "sy_image_h_value=16",
      "sy_image_rotate=0",
      "sy_image_opacity=100",
      "sy_image_tiled=0",
      "sy_image_tiled_spacing=16",
      "bDpi=0",
      "dpi=-1",
      "bDpiResample=0",
  };
  ASSERT_EQ(lines.size(), 42u);
  std::string expected;
  for (const std::string& line : lines) expected += line + "\r\n";

  const std::string text = DefaultOptionsText();
  EXPECT_EQ(text, expected);
  EXPECT_EQ(text.size(), 745u);
  std::string lf_only;
  for (char c : text) {
    if (c != '\r') lf_only += c;
  }
  EXPECT_EQ(lf_only.size(), 703u);
}

TEST(DefaultRecipe, WrittenFileHoldsTheTextAndReadsAsTheInitialRecord) {
  TempFolder folder;
  ASSERT_TRUE(WriteDefaultOptionsFile(folder / "default_photo_process.sz"));
  EXPECT_EQ(test::ReadFile(folder / "default_photo_process.sz"), DefaultOptionsText());

  ProcessingOptions options{};
  ASSERT_TRUE(ReadOptionsFile(options, folder / "default_photo_process.sz"));
  EXPECT_EQ(options, Initial());
}

TEST(DefaultRecipe, InitialProcessingOptionsIsTheInitialColumn) {
  EXPECT_EQ(InitialProcessingOptions(), Initial());
}

// ---------------------------------------------------------------------------------------------
// The reader

TEST(ReadOptionsFile, PresetsAreSetAndEveryOtherFieldKept) {
  // Only toColorspace appears: every preset is set, toColorspace is read, the rest is the caller's.
  ProcessingOptions read = ReadText("toColorspace=0", Filled());
  ProcessingOptions expected = Filled();
  expected.zoomType = ZoomType::kShrink;
  expected.bZoomSameScale = 1;
  expected.bDpi = 0;
  expected.dpi = -1;
  expected.bDpiResample = 0;
  expected.bColorspaceTo = 0;
  expected.fromColorspace = ColorspaceChoice::kCmyk;
  expected.toColorspace = ColorspaceChoice::kCmyk;
  expected.bUseSRGB_ICC = 0;
  expected.sy_text_rotate = 0;
  expected.sy_image_rotate = 0;
  expected.sy_text_background_color = -1;
  expected.sy_text_border_color = 0;
  expected.sy_text_border_size = 0;
  expected.sy_text_border_corner_radius = 0;
  expected.sy_text_padding_left_right = 0;
  expected.sy_text_padding_top_bottom = 0;
  expected.zoomUnit = ZoomUnit::kPixel;
  expected.fSizeValue = 100.0f;
  expected.qualityMode = QualityMode::kFixedQuality;
  expected.maxFileSize = 0;
  expected.bTextSizeScale = 0;
  expected.nTextSizeScaleValue = 6;
  expected.nTextSizeScaleType = 0;
  expected.bTiled = 0;
  expected.nTiledSpacing = 16;
  expected.sy_image_tiled = 0;
  expected.sy_image_tiled_spacing = 16;
  expected.sy_text_isBold = 0;
  expected.sy_text_weight = 400;
  expected.sy_text_fontSize = 26;
  expected.bSaturation = 0;
  expected.saturationValue = 0;
  EXPECT_EQ(read, expected);
}

TEST(ReadOptionsFile, OnlyLineToColorspaceGivesPresetsAndZeros) {
  ProcessingOptions expected = Presets();
  expected.toColorspace = ColorspaceChoice::kCmyk;
  EXPECT_EQ(ReadText("toColorspace=0\r\n"), expected);
  EXPECT_EQ(ReadText("toColorspace=0\n"), expected);
}

TEST(ReadOptionsFile, EmptyFileGivesThePresets) {
  EXPECT_EQ(ReadText(""), Presets());
  EXPECT_EQ(ReadText("\r\n\n\n"), Presets());
}

TEST(ReadOptionsFile, MissingFileOrFolderFailsAndLeavesTheRecord) {
  TempFolder folder;
  ProcessingOptions options = Filled();
  EXPECT_FALSE(ReadOptionsFile(options, folder / "missing.sz"));
  EXPECT_EQ(options, Filled());
  EXPECT_FALSE(ReadOptionsFile(options, folder.path()));
  EXPECT_EQ(options, Filled());
}

TEST(ReadOptionsFile, ZoomUnitAndQualityModeOutsideZeroAndOneReadAsZero) {
  EXPECT_EQ(ReadText("zoomUnit=5\n").zoomUnit, ZoomUnit::kPixel);
  EXPECT_EQ(ReadText("zoomUnit=1\n").zoomUnit, ZoomUnit::kPercent);
  // The rule takes 0, it does not keep the earlier value.
  EXPECT_EQ(ReadText("zoomUnit=1\nzoomUnit=5\n").zoomUnit, ZoomUnit::kPixel);
  EXPECT_EQ(ReadText("zoomUnit=1\nzoomUnit=-1\n").zoomUnit, ZoomUnit::kPixel);
  EXPECT_EQ(ReadText("qualityMode=1\n").qualityMode, QualityMode::kMaxFileSize);
  EXPECT_EQ(ReadText("qualityMode=1\nqualityMode=2\n").qualityMode, QualityMode::kFixedQuality);
}

TEST(ReadOptionsFile, MaxFileSizeIsKeptOnlyFromOneTo99999) {
  EXPECT_EQ(ReadText("maxFileSize=99999\n").maxFileSize, 99999);
  EXPECT_EQ(ReadText("maxFileSize=1\n").maxFileSize, 1);
  EXPECT_EQ(ReadText("maxFileSize=500\nmaxFileSize=100000\n").maxFileSize, 0);
  EXPECT_EQ(ReadText("maxFileSize=500\nmaxFileSize=-3\n").maxFileSize, 0);
  EXPECT_EQ(ReadText("maxFileSize=500\nmaxFileSize=0\n").maxFileSize, 0);
}

TEST(ReadOptionsFile, OtherValuesAreNotRangeChecked) {
  ProcessingOptions read = ReadText(
      "sizeValue=-5\nquanlity=500\ntoColorspace=3\nsy_text_opacity=1000\nlightValue=-100\n"
      "dpi=70000\nzoomType=9\n");
  EXPECT_EQ(read.sizeValue, -5);
  EXPECT_EQ(read.quanlity, 500);
  EXPECT_EQ(read.toColorspace, ColorspaceChoice::kAll);
  EXPECT_EQ(read.sy_text_opacity, 1000);
  EXPECT_EQ(read.lightValue, -100);
  EXPECT_EQ(read.dpi, 70000);
  EXPECT_EQ(static_cast<int>(read.zoomType), 9);
}

TEST(ReadOptionsFile, CrLfAndLfFilesGiveTheSameRecord) {
  const std::vector<std::string> lines = {
      "bSize=1",
      "sizeValue=640",
      "fSizeValue=37.5",
      "sy_text=" + Utf8ToGbk("水印 文字"),
      "sy_text_fontName=" + kSongTiGbk,
      "sy_image=/tmp/a b.png",
      "border_color=255",
      "bDpi=1",
      "dpi=96",
  };
  std::string lf;
  std::string crlf;
  for (const std::string& line : lines) {
    lf += line + "\n";
    crlf += line + "\r\n";
  }
  ProcessingOptions from_lf = ReadText(lf);
  ProcessingOptions from_crlf = ReadText(crlf);
  EXPECT_EQ(from_lf, from_crlf);
  EXPECT_EQ(from_crlf.sy_text, "水印 文字");
  EXPECT_EQ(from_crlf.sy_text_fontName, "宋体");
  EXPECT_EQ(from_crlf.sy_image, "/tmp/a b.png");
  EXPECT_EQ(from_crlf.sizeValue, 640);
  EXPECT_EQ(from_crlf.fSizeValue, 37.5f);
  EXPECT_EQ(from_crlf.dpi, 96);

  // Mixed line ends and no final line break give the same record too.
  std::string mixed;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    mixed += lines[i];
    if (i + 1 < lines.size()) mixed += (i % 2 == 0) ? "\r\n" : "\n";
  }
  EXPECT_EQ(ReadText(mixed), from_lf);
}

TEST(ReadOptionsFile, OnlyOneCarriageReturnIsRemoved) {
  EXPECT_EQ(ReadText("sy_text=abc\r\r\n").sy_text, "abc\r");
}

TEST(ReadOptionsFile, LastValueWins) {
  ProcessingOptions read =
      ReadText("sizeValue=100\nsy_text=first\nsizeValue=200\nsy_text=second\nsizeValue=300\n");
  EXPECT_EQ(read.sizeValue, 300);
  EXPECT_EQ(read.sy_text, "second");
  EXPECT_EQ(ReadText("sy_text=set\nsy_text=\n").sy_text, "");
}

TEST(ReadOptionsFile, TheFirstEqualsSignSplitsKeyAndValue) {
  EXPECT_EQ(ReadText("sy_text=a=b==c\n").sy_text, "a=b==c");
  EXPECT_EQ(ReadText("sy_text===\n").sy_text, "==");
}

TEST(ReadOptionsFile, LinesWithoutEqualsUnknownOrOverlongKeysAreIgnored) {
  std::string text;
  text += "sizeValue 500\n";                 // no "="
  text += "=42\n";                           // empty key
  text += "SizeValue=501\n";                 // keys are case-sensitive
  text += "sizeValue =502\n";                // the space belongs to the key
  text += "noSuchKey=503\n";                 // unknown
  text += std::string(127, 'k') + "=504\n";  // longest key the reader looks up
  text += std::string(128, 'k') + "=505\n";  // too long
  text += "sizeValue" + std::string(119, ' ') + "=506\n";
  text += "quanlity=55\n";
  ProcessingOptions read = ReadText(text, Filled());
  ProcessingOptions expected = ReadText("", Filled());
  expected.quanlity = 55;
  EXPECT_EQ(read, expected);
}

TEST(ReadOptionsFile, ValuesOfMoreThan1023BytesAreSkipped) {
  // A number with leading zeros is still that number, so length alone decides.
  std::string digits1023 = std::string(1019, '0') + "1234";
  std::string digits1024 = std::string(1020, '0') + "4321";
  EXPECT_EQ(ReadText("sizeValue=7\nsizeValue=" + digits1023 + "\n").sizeValue, 1234);
  EXPECT_EQ(ReadText("sizeValue=7\nsizeValue=" + digits1024 + "\n").sizeValue, 7);
  // The carriage return of a CR LF line is not part of the value.
  EXPECT_EQ(ReadText("sizeValue=7\r\nsizeValue=" + digits1023 + "\r\n").sizeValue, 1234);

  std::string path1023 = "/" + std::string(1022, 'p');
  std::string path1024 = "/" + std::string(1023, 'p');
  EXPECT_EQ(ReadText("sy_image=old\nsy_image=" + path1023 + "\n").sy_image,
            path1023.substr(0, 259));
  EXPECT_EQ(ReadText("sy_image=old\nsy_image=" + path1024 + "\nbSize=1\n").sy_image, "old");
  EXPECT_EQ(ReadText("sy_image=old\nsy_image=" + path1024 + "\nbSize=1\n").bSize, 1);
}

TEST(ReadOptionsFile, ValueThatIsNotANumberKeepsTheField) {
  for (const char* bad : {"abc", "12abc", "", " ", "1.5", "0x10", "99999999999"}) {
    SCOPED_TRACE(bad);
    ProcessingOptions read = ReadText(std::string("sizeValue=") + bad + "\n", Filled());
    EXPECT_EQ(read.sizeValue, Filled().sizeValue);
  }
  EXPECT_EQ(ReadText("fSizeValue=fast\n").fSizeValue, 100.0f);
  EXPECT_EQ(ReadText("fSizeValue=37.5\nfSizeValue=\n").fSizeValue, 37.5f);
}

TEST(ReadOptionsFile, NumbersAndColoursAreReadAsSigned32Bits) {
  ProcessingOptions read = ReadText(
      "fSizeValue=100.000000\nsy_text_border_color=-1\nborder_color=-16777216\n"
      "sy_text_rgbColors=16777215\nsy_text_background_color=-1\nlightValue=-100\n");
  EXPECT_EQ(read.fSizeValue, 100.0f);
  EXPECT_EQ(read.sy_text_border_color, 0xFFFFFFFFu);
  EXPECT_EQ(read.border_color, -16777216);
  EXPECT_EQ(read.sy_text_rgbColors, 0x00FFFFFF);
  EXPECT_EQ(read.sy_text_background_color, -1);
  EXPECT_EQ(read.lightValue, -100);
  EXPECT_EQ(ReadText("fSizeValue=12\n").fSizeValue, 12.0f);
}

TEST(ReadOptionsFile, GbkTextsArriveAsUtf8) {
  ProcessingOptions read = ReadText("sy_text_fontName=" + kSongTiGbk +
                                    "\nsy_text=" + Utf8ToGbk("图片批量处理，水印") + "\n");
  EXPECT_EQ(read.sy_text_fontName, "宋体");
  EXPECT_EQ(read.sy_text, "图片批量处理，水印");
  // Bytes that are not GBK are dropped, the rest of the text stays.
  EXPECT_EQ(ReadText("sy_text=" + kSongTiGbk.substr(0, 2) + "\xFF" + "ab\n").sy_text, "宋ab");
}

TEST(ReadOptionsFile, OverlongTextsAreCutAtACharacterBoundaryToFitTheirBuffer) {
  // 1 + 2 * 200 GBK bytes: the buffer of 256 holds 255, that is "a" and 127 characters.
  std::string long_text = "a" + Repeat("图", 200);
  ProcessingOptions read = ReadText("sy_text=" + Utf8ToGbk(long_text) + "\n");
  EXPECT_EQ(read.sy_text, "a" + Repeat("图", 127));
  EXPECT_EQ(GbkLength(read.sy_text), 255u);

  // Without the single-byte letter, the 128th character would straddle the end.
  read = ReadText("sy_text=" + Utf8ToGbk(Repeat("图", 200)) + "\n");
  EXPECT_EQ(read.sy_text, Repeat("图", 127));
  EXPECT_EQ(GbkLength(read.sy_text), 254u);

  read = ReadText("sy_text_fontName=" + std::string(300, 'F') + "\n");
  EXPECT_EQ(read.sy_text_fontName, std::string(255, 'F'));
  read = ReadText("sy_image=" + Utf8ToGbk(Repeat("路", 200)) + "\n");
  EXPECT_EQ(read.sy_image, Repeat("路", 129));
  read = ReadText("sy_text_htmlColor=#12345678\n");
  EXPECT_EQ(read.sy_text_htmlColor, "#123456");
}

TEST(ReadOptionsFile, HugeBinaryFileWithoutLineBreaksGivesThePresets) {
  std::mt19937 random(7);
  std::string noise(5 * 1024 * 1024, '\0');
  for (char& c : noise) {
    c = static_cast<char>(random() & 0xFF);
    if (c == '\n') c = '=';
  }
  EXPECT_EQ(ReadText(noise), Presets());
  // A line after the noise is still read.
  EXPECT_EQ(ReadText(noise + "\nquanlity=55\n").quanlity, 55);
}

TEST(ReadOptionsFile, LinesAreWholeWhereverTheFileIsCutForReading) {
  // Long skipped lines and a line across every 64 KiB boundary of the file.
  std::string text = "sizeValue=" + std::string(70000, '9') + "\n";
  text += "quanlity=55\n";
  while (text.size() < 131070) text += "bSize=1\n";
  text += "sy_text=" + Utf8ToGbk("跨越边界的水印") + "\n";
  text += "dpi=" + std::string(200000, '1') + "\r\n";
  text += "sizeValue=4321\n";
  ProcessingOptions read = ReadText(text);
  EXPECT_EQ(read.quanlity, 55);
  EXPECT_EQ(read.bSize, 1);
  EXPECT_EQ(read.sy_text, "跨越边界的水印");
  EXPECT_EQ(read.dpi, -1);
  EXPECT_EQ(read.sizeValue, 4321);
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

}  // namespace
}  // namespace brindle

namespace brindle {
namespace {

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
