// The recipe file as read: the default recipe's exact text, the reader's presets, and what it
// keeps, cuts and ignores.
#include "recipe/options_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>

#include "recipe/processing_options.h"
#include "recipe/recipe_samples.h"
#include "support/test_support.h"

namespace brindle {
namespace {

namespace fs = std::filesystem;
using namespace recipe_samples;

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

}  // namespace
}  // namespace brindle
