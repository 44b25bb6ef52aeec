#include "png8/png8.h"

#include <gtest/gtest.h>
#include <lodepng.h>
#include <sys/resource.h>

#include <cmath>
#include <csignal>
#include <set>
#include <tuple>

#include "base/info_log.h"
#include "png8/quantise.h"
#include "support/test_support.h"

namespace brindle {
namespace {

namespace fs = std::filesystem;
using test::TempFolder;

constexpr const char* kSupportLine =
    "\r\n---请进入官方网站 www.brindle.example 联系我们的客服。\r\n";

struct DecodedPng {
  unsigned error = 0;
  unsigned width = 0;
  unsigned height = 0;
  LodePNGColorType color_type = LCT_RGBA;
  std::size_t palette_size = 0;
  std::vector<unsigned char> palette;  // RGBA per entry
  std::vector<unsigned char> rgba;     // the pixels as RGBA
};

DecodedPng Decode(const std::string& bytes) {
  lodepng::State state;
  DecodedPng decoded;
  decoded.error =
      lodepng::decode(decoded.rgba, decoded.width, decoded.height, state,
                      reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
  decoded.color_type = state.info_png.color.colortype;
  decoded.palette_size = state.info_png.color.palettesize;
  decoded.palette.assign(state.info_png.color.palette,
                         state.info_png.color.palette + 4 * decoded.palette_size);
  return decoded;
}

// The chunk types of a PNG file in order.
std::vector<std::string> ChunkTypes(const std::string& bytes) {
  std::vector<std::string> types;
  std::size_t at = 8;
  while (at + 8 <= bytes.size()) {
    std::size_t length = (static_cast<unsigned char>(bytes[at]) << 24) |
                         (static_cast<unsigned char>(bytes[at + 1]) << 16) |
                         (static_cast<unsigned char>(bytes[at + 2]) << 8) |
                         static_cast<unsigned char>(bytes[at + 3]);
    types.push_back(bytes.substr(at + 4, 4));
    at += 12 + length;
  }
  return types;
}

std::set<std::tuple<int, int, int, int>> DistinctColors(const DecodedPng& png) {
  std::set<std::tuple<int, int, int, int>> colors;
  for (std::size_t i = 0; i + 3 < png.rgba.size(); i += 4) {
    colors.insert({png.rgba[i], png.rgba[i + 1], png.rgba[i + 2], png.rgba[i + 3]});
  }
  return colors;
}

// 120 × 80: fully transparent left third, half-transparent red middle third, opaque noisy right.
MagickWandPtr MakeTransparentPicture() {
  test::EnsureMagick();
  MagickWandPtr wand = MakeMagickWand();
  PixelWandPtr none = MakePixelWand("none");
  MagickNewImage(wand.get(), 120, 80, none.get());
  DrawingWandPtr draw = MakeDrawingWand();
  PixelWandPtr red = MakePixelWand("rgba(255,0,0,0.5)");
  DrawSetFillColor(draw.get(), red.get());
  DrawRectangle(draw.get(), 40, 0, 79, 79);
  PixelWandPtr blue = MakePixelWand("#2040c0");
  DrawSetFillColor(draw.get(), blue.get());
  DrawRectangle(draw.get(), 80, 0, 119, 79);
  MagickDrawImage(wand.get(), draw.get());
  return wand;
}

class Png8Test : public ::testing::Test {
 protected:
  void SetUp() override {
    test::EnsureMagick();
    InfoLog::Global().Clear();
  }
};

TEST_F(Png8Test, SixteenColorsGiveAtMostSixteenPaletteEntries) {
  MagickWandPtr photo = test::MakePicture(200, 150, "JPEG");
  std::string bytes;
  ASSERT_TRUE(EncodePng8(photo.get(), 16, bytes));
  DecodedPng png = Decode(bytes);
  ASSERT_EQ(png.error, 0u);
  EXPECT_EQ(png.width, 200u);
  EXPECT_EQ(png.height, 150u);
  EXPECT_EQ(png.color_type, LCT_PALETTE);
  EXPECT_LE(png.palette_size, 16u);
  EXPECT_GE(png.palette_size, 8u);  // the noisy photo needs (nearly) all of them
  EXPECT_LE(DistinctColors(png).size(), 16u);
  EXPECT_TRUE(InfoLog::Global().Text().empty());
}

TEST_F(Png8Test, SetsThePictureFormatToPng) {
  MagickWandPtr photo = test::MakePicture(40, 30, "JPEG");
  std::string bytes;
  ASSERT_TRUE(EncodePng8(photo.get(), 256, bytes));
  MagickTextPtr format(MagickGetImageFormat(photo.get()));
  EXPECT_STREQ(format.get(), "PNG");
  EXPECT_EQ(bytes.substr(0, 8), "\x89PNG\r\n\x1a\n");
}

TEST_F(Png8Test, TransparentAreasKeepTheirAlphaThroughThePalette) {
  MagickWandPtr picture = MakeTransparentPicture();
  std::string bytes;
  ASSERT_TRUE(EncodePng8(picture.get(), 256, bytes));
  std::vector<std::string> chunks = ChunkTypes(bytes);
  EXPECT_NE(std::find(chunks.begin(), chunks.end(), "PLTE"), chunks.end());
  EXPECT_NE(std::find(chunks.begin(), chunks.end(), "tRNS"), chunks.end());

  DecodedPng png = Decode(bytes);
  ASSERT_EQ(png.error, 0u);
  EXPECT_EQ(png.color_type, LCT_PALETTE);
  auto alpha_at = [&](int x, int y) { return png.rgba[(y * png.width + x) * 4 + 3]; };
  EXPECT_EQ(alpha_at(10, 40), 0);
  EXPECT_NEAR(alpha_at(60, 40), 128, 2);
  EXPECT_EQ(alpha_at(100, 40), 255);
  // The half-transparent area stays red.
  EXPECT_GE(png.rgba[(40 * png.width + 60) * 4], 250);
}

TEST_F(Png8Test, OutOfRangeColorCountsActAs256) {
  MagickWandPtr photo = test::MakePicture(160, 120, "JPEG");
  std::string at_256;
  ASSERT_TRUE(EncodePng8(photo.get(), 256, at_256));
  std::size_t palette_256 = Decode(at_256).palette_size;
  EXPECT_GT(palette_256, 128u);
  for (int count : {1, 0, -5, 300}) {
    std::string bytes;
    ASSERT_TRUE(EncodePng8(photo.get(), count, bytes)) << count;
    EXPECT_EQ(Decode(bytes).palette_size, palette_256) << count;
  }
  std::string at_2;
  ASSERT_TRUE(EncodePng8(photo.get(), 2, at_2));
  EXPECT_LE(Decode(at_2).palette_size, 2u);
}

// Full dithering: a grey ramp cut to four colours is written as a fine mix of neighbouring colours
// whose local average follows the ramp, where the same palette without dithering gives four flat
// bands.
TEST_F(Png8Test, GradientsAreDithered) {
  constexpr int kWidth = 256;
  constexpr int kHeight = 16;
  std::vector<unsigned char> ramp(kWidth * kHeight * 4);
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      unsigned char* pixel = &ramp[(y * kWidth + x) * 4];
      pixel[0] = pixel[1] = pixel[2] = static_cast<unsigned char>(x);
      pixel[3] = 255;
    }
  }
  MagickWandPtr picture = MakeMagickWand();
  PixelWandPtr black = MakePixelWand("black");
  MagickNewImage(picture.get(), kWidth, kHeight, black.get());
  MagickImportImagePixels(picture.get(), 0, 0, kWidth, kHeight, "RGBA", CharPixel, ramp.data());
  std::string bytes;
  ASSERT_TRUE(EncodePng8(picture.get(), 4, bytes));
  DecodedPng dithered = Decode(bytes);
  ASSERT_EQ(dithered.error, 0u);
  ASSERT_LE(dithered.palette_size, 4u);

  // The same quantisation without dithering.
  LiqAttrPtr attr(liq_attr_create());
  LiqImagePtr image(liq_image_create_rgba(attr.get(), ramp.data(), kWidth, kHeight, 0));
  liq_set_max_colors(attr.get(), 4);
  liq_result* raw = nullptr;
  ASSERT_EQ(liq_image_quantize(image.get(), attr.get(), &raw), LIQ_OK);
  LiqResultPtr result(raw);
  liq_set_dithering_level(result.get(), 0.0f);
  std::vector<unsigned char> plain_indices(kWidth * kHeight);
  ASSERT_EQ(liq_write_remapped_image(result.get(), image.get(), plain_indices.data(),
                                     plain_indices.size()),
            LIQ_OK);
  const liq_palette* palette = liq_get_palette(result.get());
  std::vector<unsigned char> plain(kWidth * kHeight);
  for (std::size_t i = 0; i < plain.size(); ++i) plain[i] = palette->entries[plain_indices[i]].g;

  auto grey_of = [&](int x, int y) { return static_cast<int>(dithered.rgba[(y * kWidth + x) * 4 + 1]); };
  auto plain_of = [&](int x, int y) { return static_cast<int>(plain[y * kWidth + x]); };
  // Changes of colour between neighbours along the rows, and how far the averages of 8 × 8 blocks
  // lie from the ramp's.
  auto changes = [&](auto grey) {
    int count = 0;
    for (int y = 0; y < kHeight; ++y) {
      for (int x = 1; x < kWidth; ++x) count += grey(x, y) != grey(x - 1, y);
    }
    return count;
  };
  auto block_error = [&](auto grey) {
    double error = 0;
    for (int by = 0; by < kHeight; by += 8) {
      for (int bx = 0; bx < kWidth; bx += 8) {
        double sum = 0;
        for (int y = by; y < by + 8; ++y) {
          for (int x = bx; x < bx + 8; ++x) sum += grey(x, y);
        }
        error += std::abs(sum / 64 - (bx + 3.5));
      }
    }
    return error / ((kWidth / 8) * (kHeight / 8));
  };
  EXPECT_LE(changes(plain_of), 3 * kHeight);
  EXPECT_GT(changes(grey_of), 20 * kHeight);
  EXPECT_GT(block_error(plain_of), 10.0);
  EXPECT_LT(block_error(grey_of), block_error(plain_of) / 2);
}

TEST_F(Png8Test, WritesTheFile) {
  TempFolder folder;
  MagickWandPtr photo = test::MakePicture(64, 48, "JPEG");
  fs::path path = folder / "out 100%.png";
  ASSERT_TRUE(WritePng8File(photo.get(), 32, path));
  DecodedPng png = Decode(test::ReadFile(path));
  ASSERT_EQ(png.error, 0u);
  EXPECT_EQ(png.width, 64u);
  EXPECT_LE(png.palette_size, 32u);
  EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 1);
}

TEST_F(Png8Test, UnwritablePathLogsFopenErrorAndLeavesNoFile) {
  TempFolder folder;
  MagickWandPtr photo = test::MakePicture(64, 48, "JPEG");
  fs::path path = folder / "missing" / "out.png";
  EXPECT_FALSE(WritePng8File(photo.get(), 256, path));
  EXPECT_FALSE(fs::exists(path));
  EXPECT_EQ(InfoLog::Global().Text(), "fopen('" + path.string() +
                                          "') error: 2(No such file or directory)" + kSupportLine +
                                          "\r\n\r\n");
}

TEST_F(Png8Test, ShortWriteLogsFwriteErrorAndKeepsTheOldFile) {
  TempFolder folder;
  fs::path path = folder / "out.png";
  test::WriteFile(path, "old");
  MagickWandPtr photo = test::MakePicture(300, 200, "JPEG");
  auto previous = std::signal(SIGXFSZ, SIG_IGN);
  rlimit saved{};
  getrlimit(RLIMIT_FSIZE, &saved);
  rlimit lowered = saved;
  lowered.rlim_cur = 1024;
  setrlimit(RLIMIT_FSIZE, &lowered);
  bool written = WritePng8File(photo.get(), 256, path);
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, previous);

  EXPECT_FALSE(written);
  EXPECT_EQ(test::ReadFile(path), "old");
  EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 1);
  EXPECT_EQ(InfoLog::Global().Text(), "fwrite('" + path.string() + "') error: 27(File too large)" +
                                          kSupportLine + "\r\n\r\n");
}

TEST_F(Png8Test, PictureThatCannotBeExportedLogsExportError) {
  MagickWandPtr empty = MakeMagickWand();
  std::string bytes = "untouched";
  EXPECT_FALSE(EncodePng8(empty.get(), 256, bytes));
  EXPECT_EQ(bytes, "untouched");
  EXPECT_EQ(InfoLog::Global().Text(),
            std::string("MagickExportImagePixels() error.") + kSupportLine + "\r\n\r\n");
}

}  // namespace
}  // namespace brindle
