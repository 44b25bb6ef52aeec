#include "engine/watermark/text_watermark.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <vector>

#include "base/info_log.h"
#include "engine/process/process_picture.h"
#include "engine/read/picture_read.h"
#include "engine/watermark/text_font.h"
#include "recipe/options_file.h"
#include "support/test_support.h"

namespace brindle {
namespace {

namespace fs = std::filesystem;

using test::MachineCatalogue;

// The default recipe with the text watermark on: "Brindle 2026" in DejaVu Sans, 26 points,
// black, at the bottom-right margins 16/16.
ProcessingOptions Options() {
  ProcessingOptions options = InitialProcessingOptions();
  options.bSYText = 1;
  options.sy_text = "Brindle 2026";
  options.sy_text_fontName = "DejaVu Sans";
  return options;
}

MagickWandPtr Filled(size_t width, size_t height, const char* color = "white") {
  test::EnsureMagick();
  MagickWandPtr wand = MakeMagickWand();
  PixelWandPtr fill = MakePixelWand(color);
  MagickNewImage(wand.get(), width, height, fill.get());
  return wand;
}

std::vector<unsigned char> Pixels(MagickWand* wand, ssize_t x, ssize_t y, size_t width,
                                  size_t height, const char* map = "RGB") {
  std::vector<unsigned char> bytes(width * height * std::strlen(map));
  MagickExportImagePixels(wand, x, y, width, height, map, CharPixel, bytes.data());
  return bytes;
}

std::vector<unsigned char> AllPixels(MagickWand* wand, const char* map = "RGB") {
  return Pixels(wand, 0, 0, MagickGetImageWidth(wand), MagickGetImageHeight(wand), map);
}

// The bounding box {left, top, right, bottom} of the pixels that are not white; right < 0 when
// there are none.
std::array<ssize_t, 4> MarkedBox(MagickWand* wand) {
  const ssize_t width = static_cast<ssize_t>(MagickGetImageWidth(wand));
  const ssize_t height = static_cast<ssize_t>(MagickGetImageHeight(wand));
  std::vector<unsigned char> pixels = AllPixels(wand);
  std::array<ssize_t, 4> box{width, height, -1, -1};
  for (ssize_t y = 0; y < height; ++y) {
    for (ssize_t x = 0; x < width; ++x) {
      const unsigned char* p = &pixels[3 * (y * width + x)];
      if (p[0] == 255 && p[1] == 255 && p[2] == 255) continue;
      box = {std::min(box[0], x), std::min(box[1], y), std::max(box[2], x), std::max(box[3], y)};
    }
  }
  return box;
}

std::array<size_t, 2> SizeOf(MagickWand* wand) {
  return {MagickGetImageWidth(wand), MagickGetImageHeight(wand)};
}

// ---------------------------------------------------------------------------------------------
// Fixed size

TEST(TextWatermark, FixedBlockAtTheBottomRightMargins) {
  ProcessingOptions options = Options();
  options.sy_text_background_color = 0x0000FF;  // a red box, so the whole block shows
  options.sy_text_padding_left_right = 6;
  options.sy_text_padding_top_bottom = 2;
  TextWatermark watermark;
  PrepareTextWatermark(watermark, options, MachineCatalogue(), kDefaultScreenDpi);
  ASSERT_TRUE(watermark.block);

  // The block is the measured content (ceiling plus one) with the padding around it.
  MagickWandPtr measuring = Filled(1, 1, "none");
  DrawingWandPtr settings = MakeTextSettings(options, test::DejaVuFontFile("DejaVuSans.ttf"));
  DrawSetFontSize(settings.get(), 34);
  std::optional<TextMetrics> metrics =
      MeasureText(measuring.get(), settings.get(), options.sy_text);
  ASSERT_TRUE(metrics);
  const ContentSize content = BlockContentSize(*metrics);
  const auto [w, h] = SizeOf(watermark.block.get());
  EXPECT_EQ(w, static_cast<size_t>(content.width + 12));
  EXPECT_EQ(h, static_cast<size_t>(content.height + 4));

  MagickWandPtr picture = Filled(800, 600);
  ApplyTextWatermark(watermark, picture.get(), options);
  const ssize_t left = 800 - static_cast<ssize_t>(w) - 16;
  const ssize_t top = 600 - static_cast<ssize_t>(h) - 16;
  EXPECT_EQ(MarkedBox(picture.get()), (std::array<ssize_t, 4>{left, top, 783, 583}));
}

TEST(TextWatermark, CentredBlockWiderThanThePicture) {
  ProcessingOptions options = Options();
  options.sy_text_background_color = 0x0000FF;
  options.sy_text_w_direction = 0;
  options.sy_text_h_direction = 0;
  TextWatermark watermark;
  PrepareTextWatermark(watermark, options, MachineCatalogue(), kDefaultScreenDpi);
  ASSERT_TRUE(watermark.block);
  const auto [w, h] = SizeOf(watermark.block.get());
  ASSERT_GT(w, 101u);

  MagickWandPtr picture = Filled(101, 100);
  ApplyTextWatermark(watermark, picture.get(), options);
  // x = (101 - w) / 2, rounded towards zero: negative, the block overhangs both sides.
  const ssize_t top = (100 - static_cast<ssize_t>(h)) / 2;
  EXPECT_EQ(MarkedBox(picture.get()),
            (std::array<ssize_t, 4>{0, top, 100, top + static_cast<ssize_t>(h) - 1}));
  const ssize_t x = (101 - static_cast<ssize_t>(w)) / 2;
  MagickWandPtr expected = Filled(101, 100);
  MagickCompositeImage(expected.get(), watermark.block.get(), OverCompositeOp, x, top);
  EXPECT_EQ(AllPixels(picture.get()), AllPixels(expected.get()));
}

TEST(TextWatermark, TilesWithoutSpacingCoverThePictureFromTheMarginPosition) {
  ProcessingOptions options = Options();
  options.sy_text_background_color = 0x00FFFF;  // yellow
  options.sy_text_border_size = 2;
  options.sy_text_border_color = 0xFF0000;  // blue
  options.bTiled = 1;
  options.nTiledSpacing = 0;
  TextWatermark watermark;
  PrepareTextWatermark(watermark, options, MachineCatalogue(), kDefaultScreenDpi);
  ASSERT_TRUE(watermark.block);
  const auto [w, h] = SizeOf(watermark.block.get());

  MagickWandPtr picture = Filled(640, 480);
  ApplyTextWatermark(watermark, picture.get(), options);
  // Every pixel belongs to a tile: nothing of the white picture shows.
  std::vector<unsigned char> pixels = AllPixels(picture.get());
  for (size_t i = 0; i < pixels.size(); i += 3) {
    ASSERT_FALSE(pixels[i] == 255 && pixels[i + 1] == 255 && pixels[i + 2] == 255)
        << "white at pixel " << i / 3;
  }
  // One tile sits exactly at the right and bottom margins.
  const ssize_t x = 640 - static_cast<ssize_t>(w) - 16;
  const ssize_t y = 480 - static_cast<ssize_t>(h) - 16;
  MagickWandPtr single = Filled(w, h);
  MagickCompositeImage(single.get(), watermark.block.get(), OverCompositeOp, 0, 0);
  EXPECT_EQ(Pixels(picture.get(), x, y, w, h), AllPixels(single.get()));
}

TEST(TextWatermark, TheChosenFacesWeightIsRecorded) {
  ProcessingOptions options = Options();
  options.sy_text_fontName = "DejaVu Serif";
  options.sy_text_isBold = 1;
  options.sy_text_isItalic = 1;
  options.sy_text_weight = 0;
  TextWatermark watermark;
  PrepareTextWatermark(watermark, options, MachineCatalogue(), kDefaultScreenDpi);
  EXPECT_EQ(options.sy_text_weight, 700);
  ASSERT_TRUE(watermark.block);

  // Drawn with the bold italic face: the same as a block drawn with that type name.
  MagickWandPtr measuring = Filled(1, 1, "none");
  DrawingWandPtr settings = MakeTextSettings(options, test::DejaVuFontFile("DejaVuSerif-BoldItalic.ttf"));
  DrawSetFontSize(settings.get(), 34);
  std::optional<TextMetrics> metrics =
      MeasureText(measuring.get(), settings.get(), options.sy_text);
  ASSERT_TRUE(metrics);
  TextBlock expected =
      RenderTextBlock(options, settings.get(), options.sy_text, BlockContentSize(*metrics));
  EXPECT_EQ(AllPixels(watermark.block.get(), "RGBA"), AllPixels(expected.get(), "RGBA"));
}

// ---------------------------------------------------------------------------------------------
// Nothing to draw

TEST(TextWatermark, AnEmptyTextDrawsNothing) {
  ProcessingOptions options = Options();
  options.sy_text = "";
  options.sy_text_fontName = "No Such Face";  // no font check runs for an empty text
  options.sy_text_background_color = 0x0000FF;
  MagickWandPtr picture = test::MakePicture(300, 200, "PNG");
  const std::vector<unsigned char> before = AllPixels(picture.get());

  TextWatermark fixed;
  EXPECT_EQ(PrepareTextWatermarkForRun(fixed, options, MachineCatalogue(), kDefaultScreenDpi),
            std::nullopt);
  EXPECT_FALSE(fixed.block);
  ApplyTextWatermark(fixed, picture.get(), options);
  EXPECT_EQ(AllPixels(picture.get()), before);

  options.bTextSizeScale = 1;
  options.nTextSizeScaleValue = 10;
  TextWatermark scaled;
  EXPECT_TRUE(PrepareScaledTextWatermark(scaled, options, MachineCatalogue(), kDefaultScreenDpi));
  EXPECT_EQ(PrepareTextWatermarkForRun(scaled, options, MachineCatalogue(), kDefaultScreenDpi),
            std::nullopt);
  ApplyTextWatermark(scaled, picture.get(), options);
  EXPECT_EQ(AllPixels(picture.get()), before);
}

TEST(TextWatermark, AFaceWithoutCatalogueEntryDrawsNothingOrFails) {
  ProcessingOptions options = Options();
  options.sy_text_fontName = "No Such Face";
  TextWatermark watermark;
  PrepareTextWatermark(watermark, options, MachineCatalogue(), kDefaultScreenDpi);
  EXPECT_FALSE(watermark.block);
  options.bTextSizeScale = 1;
  EXPECT_FALSE(
      PrepareScaledTextWatermark(watermark, options, MachineCatalogue(), kDefaultScreenDpi));
  EXPECT_FALSE(watermark.scaled);
}

// ---------------------------------------------------------------------------------------------
// Refusals of a run

TEST(PrepareTextWatermarkForRun, RefusesFacesThatCannotShowTheText) {
  ProcessingOptions options = Options();
  options.sy_text = "水印 2026";
  TextWatermark watermark;
  std::optional<Refusal> refusal =
      PrepareTextWatermarkForRun(watermark, options, MachineCatalogue(), kDefaultScreenDpi);
  ASSERT_TRUE(refusal);
  EXPECT_EQ(refusal->message,
            "当前选择的字体: 'DejaVu Sans' 不支持显示中文。\n\n"
            "请选择一个中文字体，例如：宋体, 楷体, 黑体。");
  EXPECT_EQ(refusal->caption, "提示");
  EXPECT_EQ(refusal->icon, MessageIcon::kWarning);
  EXPECT_EQ(refusal->hint_title, "看这里");
  EXPECT_EQ(refusal->hint_text, "请选择一个中文字体");
  EXPECT_EQ(refusal->control, kTextFontControl);
  EXPECT_FALSE(watermark.block);

  options.sy_text = "abc";
  options.sy_text_fontName = "Arial";
  refusal = PrepareTextWatermarkForRun(watermark, options, MachineCatalogue(), kDefaultScreenDpi);
  ASSERT_TRUE(refusal);
  EXPECT_EQ(refusal->message, "当前选择的字体: 'Arial' 不受支持，请重新选择一个字体。");
  EXPECT_EQ(refusal->hint_text, "请重新选择一个字体");
}

TEST(PrepareTextWatermarkForRun, RefusesWhenTheProportionalTextCannotBeMeasured) {
  test::EnsureMagick();
  const FontCatalogue catalogue = test::CatalogueWithAMissingBoldFace();
  ProcessingOptions options = Options();
  options.sy_text_fontName = "Odd";
  options.sy_text_isBold = 1;
  options.bTextSizeScale = 1;
  TextWatermark watermark;
  std::optional<Refusal> refusal =
      PrepareTextWatermarkForRun(watermark, options, catalogue, kDefaultScreenDpi);
  ASSERT_TRUE(refusal);
  EXPECT_EQ(refusal->message, "当前选择的字体 'Odd' 无法正常的显示文字水印，请更换一个字体。");
  EXPECT_EQ(refusal->icon, MessageIcon::kError);
  EXPECT_EQ(refusal->hint_text, "请更换一个字体");

  // Fixed size with the same face: accepted, nothing drawn.
  options.bTextSizeScale = 0;
  EXPECT_EQ(PrepareTextWatermarkForRun(watermark, options, catalogue, kDefaultScreenDpi),
            std::nullopt);
  EXPECT_FALSE(watermark.block);
}

TEST(PrepareTextWatermarkForRun, ChineseTextWithTheSongFaceOfTheDefaultRecipe) {
  ProcessingOptions options = InitialProcessingOptions();
  ASSERT_EQ(options.sy_text_fontName, "宋体");
  options.bSYText = 1;
  options.sy_text = "水印文字";
  TextWatermark watermark;
  ASSERT_EQ(PrepareTextWatermarkForRun(watermark, options, MachineCatalogue(), kDefaultScreenDpi),
            std::nullopt);
  ASSERT_TRUE(watermark.block);
  MagickWandPtr picture = Filled(400, 300);
  ApplyTextWatermark(watermark, picture.get(), options);
  const auto [w, h] = SizeOf(watermark.block.get());
  std::array<ssize_t, 4> box = MarkedBox(picture.get());
  // Dark strokes inside the block at the bottom-right corner.
  EXPECT_GE(box[0], 400 - static_cast<ssize_t>(w) - 16);
  EXPECT_GE(box[1], 300 - static_cast<ssize_t>(h) - 16);
  EXPECT_LE(box[2], 383);
  EXPECT_LE(box[3], 283);
  EXPECT_GT(box[2] - box[0], 4 * 20);  // four characters of about 34 pixels
  std::vector<unsigned char> pixels = AllPixels(picture.get());
  EXPECT_NE(std::find(pixels.begin(), pixels.end(), 0), pixels.end());
}

// ---------------------------------------------------------------------------------------------
// Proportional size

// The content width of the text at a point size, as the search measures it.
int ContentWidthAt(const ProcessingOptions& options, int points) {
  MagickWandPtr measuring = Filled(1, 1, "none");
  DrawingWandPtr settings = MakeTextSettings(options, test::DejaVuFontFile("DejaVuSans.ttf"));
  DrawSetFontSize(settings.get(), FontPixelSize(kDefaultScreenDpi, points));
  std::optional<TextMetrics> metrics =
      MeasureText(measuring.get(), settings.get(), options.sy_text);
  return metrics ? BlockContentSize(*metrics).width : -1;
}

TEST(TextWatermark, ProportionalToTenPercentOfTheWidth) {
  ProcessingOptions options = Options();
  options.bTextSizeScale = 1;
  options.nTextSizeScaleValue = 10;
  options.nTextSizeScaleType = 1;
  options.sy_text_padding_left_right = 4;
  options.sy_text_border_size = 2;
  options.sy_text_border_color = 0x0000FF;
  TextWatermark watermark;
  ASSERT_TRUE(
      PrepareScaledTextWatermark(watermark, options, MachineCatalogue(), kDefaultScreenDpi));

  TextBlock block;
  {
    std::lock_guard<TextWatermarkLock> guard(watermark.lock);
    block = RenderScaledTextBlock(*watermark.scaled, options, 100);
  }
  ASSERT_TRUE(block);
  const int content = static_cast<int>(MagickGetImageWidth(block.get())) - 2 * 4 - 2 * 2;
  // No point size comes closer to 100 than the one found.
  int closest = 1000;
  for (int points = 6; points <= 40; ++points) {
    closest = std::min(closest, std::abs(ContentWidthAt(options, points) - 100));
  }
  EXPECT_EQ(std::abs(content - 100), closest) << content;
  EXPECT_LE(closest, 6);

  // On a 1000-pixel-wide picture the same block is placed at the margins.
  MagickWandPtr picture = Filled(1000, 400);
  ApplyTextWatermark(watermark, picture.get(), options);
  const ssize_t w = static_cast<ssize_t>(MagickGetImageWidth(block.get()));
  const ssize_t h = static_cast<ssize_t>(MagickGetImageHeight(block.get()));
  EXPECT_EQ(MarkedBox(picture.get()),
            (std::array<ssize_t, 4>{1000 - w - 16, 400 - h - 16, 983, 383}));
}

TEST(TextWatermark, ProportionalTargetOfTheReferenceIsDrawnAtSeventyTwoPoints) {
  ProcessingOptions options = Options();
  options.bTextSizeScale = 1;
  options.nTextSizeScaleValue = 50;
  options.nTextSizeScaleType = 1;
  TextWatermark watermark;
  ASSERT_TRUE(
      PrepareScaledTextWatermark(watermark, options, MachineCatalogue(), kDefaultScreenDpi));
  const ContentSize reference = watermark.scaled->reference;
  EXPECT_EQ(watermark.scaled->per_point, reference.width / 72.0);

  // 50 % of twice the reference width.
  MagickWandPtr picture = Filled(2 * reference.width, 300);
  ApplyTextWatermark(watermark, picture.get(), options);

  DrawingWandPtr settings = MakeTextSettings(options, test::DejaVuFontFile("DejaVuSans.ttf"));
  DrawSetFontSize(settings.get(), 96);
  TextBlock expected = RenderTextBlock(options, settings.get(), options.sy_text, reference);
  const auto [w, h] = SizeOf(expected.get());
  EXPECT_EQ(w, static_cast<size_t>(reference.width));
  MagickWandPtr expected_picture = Filled(2 * reference.width, 300);
  MagickCompositeImage(expected_picture.get(), expected.get(), OverCompositeOp,
                       2 * reference.width - static_cast<ssize_t>(w) - 16,
                       300 - static_cast<ssize_t>(h) - 16);
  EXPECT_EQ(AllPixels(picture.get()), AllPixels(expected_picture.get()));
}

TEST(TextWatermark, ProportionalByHeightAndTooSmallTargets) {
  ProcessingOptions options = Options();
  options.bTextSizeScale = 1;
  options.nTextSizeScaleValue = 20;
  options.nTextSizeScaleType = 0;
  TextWatermark watermark;
  ASSERT_TRUE(
      PrepareScaledTextWatermark(watermark, options, MachineCatalogue(), kDefaultScreenDpi));
  EXPECT_EQ(watermark.scaled->per_point, watermark.scaled->reference.height / 72.0);
  std::lock_guard<TextWatermarkLock> guard(watermark.lock);
  TextBlock block = RenderScaledTextBlock(*watermark.scaled, options, 60);
  ASSERT_TRUE(block);
  EXPECT_NEAR(static_cast<double>(MagickGetImageHeight(block.get())), 60, 3);
  EXPECT_FALSE(RenderScaledTextBlock(*watermark.scaled, options, 0));
}

// Each of two workers draws on pictures of its own width at the same time as the other; every
// picture must come out as it does when drawn alone.
void ExpectSameWhenDrawnAtOnce(TextWatermark& watermark, const ProcessingOptions& options) {
  const std::array<size_t, 2> widths = {640, 900};
  std::array<std::vector<unsigned char>, 2> alone;
  for (size_t i = 0; i < 2; ++i) {
    MagickWandPtr picture = Filled(widths[i], 200);
    ApplyTextWatermark(watermark, picture.get(), options);
    alone[i] = AllPixels(picture.get());
  }
  std::array<bool, 2> same = {true, true};
  std::vector<std::thread> workers;
  for (size_t i = 0; i < 2; ++i) {
    workers.emplace_back([&, i] {
      for (int round = 0; round < 8; ++round) {
        MagickWandPtr picture = Filled(widths[i], 200);
        ApplyTextWatermark(watermark, picture.get(), options);
        if (AllPixels(picture.get()) != alone[i]) same[i] = false;
      }
    });
  }
  for (std::thread& worker : workers) worker.join();
  EXPECT_TRUE(same[0]);
  EXPECT_TRUE(same[1]);
}

TEST(TextWatermark, TwoWorkersDrawAtOnce) {
  ProcessingOptions options = Options();
  options.sy_text_background_color = 0x00FFFF;
  options.bTiled = 1;
  TextWatermark fixed;
  PrepareTextWatermark(fixed, options, MachineCatalogue(), kDefaultScreenDpi);
  ASSERT_TRUE(fixed.block);
  ExpectSameWhenDrawnAtOnce(fixed, options);

  options.bTextSizeScale = 1;
  options.nTextSizeScaleValue = 30;
  options.nTextSizeScaleType = 1;
  TextWatermark scaled;
  ASSERT_TRUE(PrepareScaledTextWatermark(scaled, options, MachineCatalogue(), kDefaultScreenDpi));
  ExpectSameWhenDrawnAtOnce(scaled, options);
}

// ---------------------------------------------------------------------------------------------
// In the pipeline

TEST(TextWatermark, GreyPicturesBecomeColourWithAColouredWatermark) {
  test::EnsureMagick();
  InfoLog::Global().Clear();
  test::TempFolder folder;
  MagickWandPtr grey = Filled(400, 300, "gray60");
  MagickSetImageColorspace(grey.get(), GRAYColorspace);
  MagickSetImageType(grey.get(), GrayscaleType);
  MagickSetImageFormat(grey.get(), "JPEG");
  std::string error;
  ASSERT_TRUE(WritePictureFile(grey.get(), folder / "grey.jpg", &error)) << error;
  ASSERT_EQ(MagickGetImageColorspace(ReadPicture(folder / "grey.jpg").get()), GRAYColorspace);

  RunRecipe recipe;
  recipe.options = Options();
  recipe.options.sy_text_background_color = 0x0000FF;  // red box
  recipe.text_watermark = std::make_shared<TextWatermark>();
  ASSERT_EQ(PrepareTextWatermarkForRun(*recipe.text_watermark, recipe.options, MachineCatalogue(),
                                       kDefaultScreenDpi),
            std::nullopt);
  ProcessResult result = ProcessPicture(recipe, folder / "grey.jpg", folder / "out.jpg", 0, 0);
  ASSERT_EQ(result.outcome, ProcessOutcome::kWritten) << InfoLog::Global().Text();
  MagickWandPtr out = ReadPicture(folder / "out.jpg");
  ASSERT_TRUE(out);
  EXPECT_NE(MagickGetImageColorspace(out.get()), GRAYColorspace);
  const auto [w, h] = SizeOf(recipe.text_watermark->block.get());
  // Just inside the box's corner: red.
  std::vector<unsigned char> corner = Pixels(out.get(), 400 - 16 - static_cast<ssize_t>(w) + 1,
                                             300 - 16 - static_cast<ssize_t>(h) + 1, 1, 1);
  EXPECT_GT(corner[0], 200);
  EXPECT_LT(corner[1], 60);
  EXPECT_LT(corner[2], 60);
  // The rest stays grey.
  std::vector<unsigned char> away = Pixels(out.get(), 10, 10, 1, 1);
  EXPECT_NEAR(away[0], away[1], 2);
  EXPECT_NEAR(away[1], away[2], 2);
}

TEST(TextWatermark, OffInTheRecipeDrawsNothingEvenWhenPrepared) {
  test::EnsureMagick();
  InfoLog::Global().Clear();
  test::TempFolder folder;
  test::WritePicture(folder / "in.png", 300, 200, "PNG");
  RunRecipe recipe;
  recipe.options = Options();
  recipe.text_watermark = std::make_shared<TextWatermark>();
  PrepareTextWatermark(*recipe.text_watermark, recipe.options, MachineCatalogue(),
                       kDefaultScreenDpi);
  ASSERT_TRUE(recipe.text_watermark->block);

  ProcessResult on = ProcessPicture(recipe, folder / "in.png", std::nullopt, 0, 0);
  recipe.options.bSYText = 0;
  ProcessResult off = ProcessPicture(recipe, folder / "in.png", std::nullopt, 0, 0);
  ASSERT_EQ(on.outcome, ProcessOutcome::kHandedBack);
  ASSERT_EQ(off.outcome, ProcessOutcome::kHandedBack);
  MagickWandPtr source = ReadPicture(folder / "in.png");
  EXPECT_EQ(AllPixels(off.wand.get()), AllPixels(source.get()));
  EXPECT_NE(AllPixels(on.wand.get()), AllPixels(source.get()));
}

}  // namespace
}  // namespace brindle
