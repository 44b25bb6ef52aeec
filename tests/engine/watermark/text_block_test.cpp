#include "engine/watermark/text_block.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "engine/watermark/text_font.h"
#include "support/test_support.h"

namespace brindle {
namespace {

struct Rgba {
  double red, green, blue, alpha;
};

Rgba PixelAt(MagickWand* wand, ssize_t x, ssize_t y) {
  PixelWandPtr pixel = MakePixelWand();
  MagickGetImagePixelColor(wand, x, y, pixel.get());
  return {PixelGetRed(pixel.get()), PixelGetGreen(pixel.get()), PixelGetBlue(pixel.get()),
          PixelGetAlpha(pixel.get())};
}

std::vector<unsigned char> Pixels(MagickWand* wand) {
  const size_t width = MagickGetImageWidth(wand);
  const size_t height = MagickGetImageHeight(wand);
  std::vector<unsigned char> bytes(width * height * 4);
  MagickExportImagePixels(wand, 0, 0, width, height, "RGBA", CharPixel, bytes.data());
  return bytes;
}

// A recipe with no box, black opaque text and no padding.
ProcessingOptions PlainOptions() {
  ProcessingOptions options{};
  options.sy_text_background_color = -1;
  options.sy_text_opacity = 100;
  options.sy_text_htmlColor = "#000000";
  return options;
}

TextBlock Render(const ProcessingOptions& options, const std::string& text, ContentSize content,
                 int pixel_size = 34) {
  test::EnsureMagick();
  DrawingWandPtr settings = MakeTextSettings(options, test::DejaVuFontFile("DejaVuSans.ttf"));
  DrawSetFontSize(settings.get(), pixel_size);
  return RenderTextBlock(options, settings.get(), text, content);
}

// ---------------------------------------------------------------------------------------------
// Measuring

TEST(TextWidthFrom, WidthAndOriginRules) {
  EXPECT_EQ(TextWidthFrom(219, 219), 219);
  EXPECT_EQ(TextWidthFrom(219, 250.5), 250.5);  // close: the larger
  EXPECT_EQ(TextWidthFrom(300, 199), 199);      // 101 apart: the smaller
  EXPECT_EQ(TextWidthFrom(300, 200.5), 300);    // 99.5 apart
  EXPECT_EQ(TextWidthFrom(12, 0), 12);
  EXPECT_EQ(TextWidthFrom(12, -3), 12);
  EXPECT_EQ(TextWidthFrom(0, 7), 7);
  EXPECT_EQ(TextWidthFrom(-1, 7), 7);
  EXPECT_EQ(TextWidthFrom(0, 0), std::nullopt);
  EXPECT_EQ(TextWidthFrom(-2, -1), std::nullopt);
}

TEST(BlockContentSize, CeilingPlusOne) {
  EXPECT_EQ(BlockContentSize({219.0, 41.0}), (ContentSize{220, 42}));
  EXPECT_EQ(BlockContentSize({219.01, 40.5}), (ContentSize{221, 42}));
  EXPECT_EQ(BlockContentSize({0.5, 0.0}), (ContentSize{2, 1}));
}

TEST(MeasureText, WiderTextsAndUnknownFaces) {
  test::EnsureMagick();
  MagickWandPtr picture = MakeMagickWand();
  PixelWandPtr none = MakePixelWand("none");
  MagickNewImage(picture.get(), 1, 1, none.get());
  ProcessingOptions options = PlainOptions();
  DrawingWandPtr settings = MakeTextSettings(options, test::DejaVuFontFile("DejaVuSans.ttf"));
  DrawSetFontSize(settings.get(), 34);
  std::optional<TextMetrics> short_text = MeasureText(picture.get(), settings.get(), "Brindle");
  std::optional<TextMetrics> long_text = MeasureText(picture.get(), settings.get(), "Brindle 2026");
  ASSERT_TRUE(short_text && long_text);
  EXPECT_GT(long_text->width, short_text->width + 50);
  EXPECT_EQ(long_text->height, short_text->height);  // ascender - descender of the face
  EXPECT_GT(long_text->height, 34);

  DrawSetFontSize(settings.get(), 68);
  std::optional<TextMetrics> doubled = MeasureText(picture.get(), settings.get(), "Brindle 2026");
  ASSERT_TRUE(doubled);
  EXPECT_NEAR(doubled->width, 2 * long_text->width, 4);

  // Only a font file is drawn with. A face known by a type name alone, or whose file is gone, has
  // none (ImageMagick would draw it with a face of its own choosing, Ghostscript's Helvetica where
  // that is installed), and a file that is no font cannot be measured.
  FontFace by_name;
  by_name.type_name = "Helvetica";
  by_name.family = "Helvetica";
  EXPECT_EQ(FaceFontFile(by_name), std::nullopt);
  by_name.glyph_file = "/usr/share/fonts/no-such-folder/Helvetica.ttf";
  EXPECT_EQ(FaceFontFile(by_name), std::nullopt);
  test::TempFolder folder;
  const std::filesystem::path not_a_font = folder / "Face.ttf";
  test::WriteFile(not_a_font, "Brindle");
  FontFace unreadable;
  unreadable.glyph_file = not_a_font.string();
  std::optional<std::string> file = FaceFontFile(unreadable);
  ASSERT_EQ(file, not_a_font.string());
  DrawingWandPtr unknown = MakeTextSettings(options, *file);
  EXPECT_FALSE(MeasureText(picture.get(), unknown.get(), "Brindle").has_value());
}

TEST(MeasureText, EscapesAndFileNamesAreTextAsTyped) {
  test::EnsureMagick();
  MagickWandPtr picture = MakeMagickWand();
  PixelWandPtr none = MakePixelWand("none");
  MagickNewImage(picture.get(), 1, 1, none.get());
  DrawingWandPtr settings = MakeTextSettings(PlainOptions(), test::DejaVuFontFile("DejaVuSans.ttf"));
  DrawSetFontSize(settings.get(), 34);
  auto width = [&](const char* text) {
    std::optional<TextMetrics> metrics = MeasureText(picture.get(), settings.get(), text);
    return metrics ? metrics->width : -1.0;
  };
  // "%w" would become the picture's width, "1", and "@/etc/hostname" the file's contents.
  EXPECT_NEAR(width("%w"), width("%") + width("w"), 2);
  EXPECT_GT(width("%w"), width("1") + 20);
  EXPECT_NEAR(width("@/etc/hostname"), width("@") + width("/etc/hostname"), 2);

  ProcessingOptions options = PlainOptions();
  TextBlock escaped = Render(options, "%w", {60, 42});
  TextBlock one = Render(options, "1", {60, 42});
  EXPECT_NE(Pixels(escaped.get()), Pixels(one.get()));
}

// ---------------------------------------------------------------------------------------------
// Rendering

TEST(RenderTextBlock, TextOnlyWithoutBoxIsDrawnAlone) {
  ProcessingOptions options = PlainOptions();
  options.sy_text_htmlColor = "#ff0000";
  options.sy_text_border_color = 0xFF0000;  // blue, but no border is asked for
  options.sy_text_padding_left_right = 5;
  options.sy_text_padding_top_bottom = 3;
  TextBlock block = Render(options, "Brindle", {130, 42});
  ASSERT_TRUE(block);
  EXPECT_EQ(MagickGetImageWidth(block.get()), 140u);
  EXPECT_EQ(MagickGetImageHeight(block.get()), 48u);
  std::vector<unsigned char> pixels = Pixels(block.get());
  int drawn = 0;
  for (size_t i = 0; i < pixels.size(); i += 4) {
    if (pixels[i + 3] == 0) continue;
    ++drawn;
    ASSERT_EQ(pixels[i], 255) << i / 4;
    ASSERT_EQ(pixels[i + 1], 0) << i / 4;
    ASSERT_EQ(pixels[i + 2], 0) << i / 4;
  }
  EXPECT_GT(drawn, 300);
  for (auto [x, y] : {std::pair{0, 0}, {139, 0}, {0, 47}, {139, 47}}) {
    EXPECT_EQ(PixelAt(block.get(), x, y).alpha, 0) << x << "," << y;
  }
}

TEST(RenderTextBlock, BackgroundWithRadiusTenAndNoOutline) {
  ProcessingOptions options = PlainOptions();
  options.sy_text_background_color = 0x00FF00;  // green
  options.sy_text_border_color = 0xFF0000;      // blue, not drawn: border 0
  options.sy_text_border_corner_radius = 10;
  TextBlock block = Render(options, "", {80, 40});
  ASSERT_TRUE(block);
  // Outside the rounded corner (11.3 pixels from the arc's centre at 10,10): transparent.
  for (auto [x, y] : {std::pair{0, 0}, {2, 2}, {79, 0}, {77, 37}, {0, 39}}) {
    EXPECT_EQ(PixelAt(block.get(), x, y).alpha, 0) << x << "," << y;
  }
  // Along the straight edges and inside: the fill, opaque, up to the canvas edge.
  for (auto [x, y] : {std::pair{40, 0}, {0, 20}, {79, 20}, {40, 39}, {40, 20}, {6, 6}}) {
    Rgba pixel = PixelAt(block.get(), x, y);
    EXPECT_EQ(pixel.alpha, 1) << x << "," << y;
    EXPECT_EQ(pixel.green, 1) << x << "," << y;
    EXPECT_EQ(pixel.blue, 0) << x << "," << y;
  }
  std::vector<unsigned char> pixels = Pixels(block.get());
  for (size_t i = 0; i < pixels.size(); i += 4) {
    ASSERT_EQ(pixels[i + 2], 0) << "an outline was drawn at pixel " << i / 4;
  }
}

TEST(RenderTextBlock, BorderThreeWithSquareCornersIsThreePixelsWide) {
  ProcessingOptions options = PlainOptions();
  options.sy_text_border_size = 3;
  options.sy_text_border_color = 0x0000FF;  // red
  TextBlock block = Render(options, "", {60, 40});
  ASSERT_TRUE(block);
  ASSERT_EQ(MagickGetImageWidth(block.get()), 66u);
  ASSERT_EQ(MagickGetImageHeight(block.get()), 46u);
  // Stroked 4.5 wide along the canvas edge: three opaque pixels, a trace of the fourth. A stroke of
  // 3 would leave the third pixel a quarter covered.
  for (int inset = 0; inset < 3; ++inset) {
    for (auto [x, y] : {std::pair{inset, 23}, {65 - inset, 23}, {33, inset}, {33, 45 - inset}}) {
      Rgba pixel = PixelAt(block.get(), x, y);
      EXPECT_EQ(pixel.alpha, 1) << x << "," << y;
      EXPECT_EQ(pixel.red, 1) << x << "," << y;
    }
  }
  EXPECT_LT(PixelAt(block.get(), 3, 23).alpha, 0.1);
  EXPECT_EQ(PixelAt(block.get(), 4, 23).alpha, 0);
  EXPECT_EQ(PixelAt(block.get(), 33, 23).alpha, 0);  // no fill
}

TEST(RenderTextBlock, RoundedBorderIsInsetByHalfItsWidth) {
  ProcessingOptions options = PlainOptions();
  options.sy_text_border_size = 4;
  options.sy_text_border_color = 0x0000FF;
  options.sy_text_border_corner_radius = 5;
  TextBlock block = Render(options, "", {60, 40});
  ASSERT_TRUE(block);
  // Stroke 4 centred on x = 2 covers the pixels 0 to 3, nothing from the sixth pixel on.
  for (int x : {0, 1, 2, 3}) EXPECT_GT(PixelAt(block.get(), x, 23).alpha, 0.95) << x;
  EXPECT_LT(PixelAt(block.get(), 5, 23).alpha, 0.01);
  EXPECT_EQ(PixelAt(block.get(), 0, 0).alpha, 0);
}

TEST(RenderTextBlock, UnderlineWinsOverLineThrough) {
  ProcessingOptions both = PlainOptions();
  both.sy_text_isUnderlineDecoration = 1;
  both.sy_text_isLineThroughDecoration = 1;
  ProcessingOptions underline = PlainOptions();
  underline.sy_text_isUnderlineDecoration = 1;
  ProcessingOptions line_through = PlainOptions();
  line_through.sy_text_isLineThroughDecoration = 1;
  const ContentSize content{130, 42};
  std::vector<unsigned char> with_both = Pixels(Render(both, "Brindle", content).get());
  EXPECT_EQ(with_both, Pixels(Render(underline, "Brindle", content).get()));
  EXPECT_NE(with_both, Pixels(Render(line_through, "Brindle", content).get()));
  EXPECT_NE(with_both, Pixels(Render(PlainOptions(), "Brindle", content).get()));
}

TEST(RenderTextBlock, OpacityAppliesToBoxBorderAndText) {
  ProcessingOptions options = PlainOptions();
  options.sy_text_opacity = 50;
  options.sy_text_background_color = 0xFFFFFF;
  options.sy_text_border_size = 2;
  options.sy_text_border_color = 0x0000FF;
  TextBlock box = Render(options, "", {130, 42});
  ASSERT_TRUE(box);
  EXPECT_NEAR(PixelAt(box.get(), 67, 23).alpha, 0.5, 0.01);  // the fill
  // The border is stroked over the fill: 1 - 0.5 × 0.5.
  EXPECT_NEAR(PixelAt(box.get(), 0, 23).alpha, 0.75, 0.01);
  EXPECT_NEAR(PixelAt(box.get(), 1, 23).alpha, 0.75, 0.01);

  ProcessingOptions text_only = PlainOptions();
  text_only.sy_text_opacity = 50;
  std::vector<unsigned char> pixels = Pixels(Render(text_only, "Brindle", {130, 42}).get());
  int most = 0;
  for (size_t i = 3; i < pixels.size(); i += 4) most = std::max<int>(most, pixels[i]);
  EXPECT_NEAR(most, 128, 1);
}

TEST(RenderTextBlock, RotationGrowsToTheRotatedBox) {
  ProcessingOptions options = PlainOptions();
  options.sy_text_background_color = 0x000000;
  options.sy_text_rotate = 90;
  TextBlock block = Render(options, "", {100, 30});
  ASSERT_TRUE(block);
  EXPECT_EQ(MagickGetImageWidth(block.get()), 30u);
  EXPECT_EQ(MagickGetImageHeight(block.get()), 100u);

  options.sy_text_rotate = 45;
  block = Render(options, "", {100, 30});
  ASSERT_TRUE(block);
  const double side = (100 + 30) / std::sqrt(2.0);
  EXPECT_NEAR(static_cast<double>(MagickGetImageWidth(block.get())), side, 3);
  EXPECT_NEAR(static_cast<double>(MagickGetImageHeight(block.get())), side, 3);
  EXPECT_EQ(PixelAt(block.get(), 0, 0).alpha, 0);
}

}  // namespace
}  // namespace brindle
