#include "engine/process/process_picture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "base/info_log.h"
#include "engine/read/picture_read.h"
#include "engine/watermark/text_font.h"
#include "engine/watermark/text_watermark.h"
#include "recipe/options_file.h"
#include "support/test_support.h"

namespace brindle {
namespace {

namespace fs = std::filesystem;
using test::TempFolder;

class ProcessPictureTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::EnsureMagick();
    InfoLog::Global().Clear();
    recipe_.options = InitialProcessingOptions();
  }

  // Writes a picture with the given JPEG quality (or another format).
  fs::path Source(const std::string& name, size_t width, size_t height, const char* format,
                  size_t quality = 0) {
    MagickWandPtr wand = test::MakePicture(width, height, format);
    if (quality) MagickSetImageCompressionQuality(wand.get(), quality);
    fs::path path = folder_ / name;
    std::string error;
    EXPECT_TRUE(WritePictureFile(wand.get(), path, &error)) << error;
    return path;
  }

  MagickWandPtr Process(const fs::path& source, const fs::path& target, int flip = 0,
                        int rotation = 0) {
    ProcessResult result = ProcessPicture(recipe_, source, target, flip, rotation);
    EXPECT_EQ(result.outcome, ProcessOutcome::kWritten) << InfoLog::Global().Text();
    MagickWandPtr back = ReadPicture(target);
    EXPECT_TRUE(back) << target;
    return back;
  }

  TempFolder folder_;
  RunRecipe recipe_;
};

TEST_F(ProcessPictureTest, QualityFollowsSourceAndSwitch) {
  struct Case {
    const char* why;
    const char* format;
    size_t source_quality;
    int fixed_quality;  // 0: the quality switch is off
    bool border;
    bool text;
    size_t quality;
    const char* sampling;  // of the JPEG written; "" when not looked at
  };
  // Sources are written with 4:2:0 chroma: a source written as it was keeps it, a re-composed one
  // is written afresh, at 90 and above with full chroma.
  const std::vector<Case> cases = {
      {"switch off: a PNG source is written at 94", "PNG", 0, 0, false, false, 94, ""},
      {"switch off: a JPEG source keeps its own quality", "JPEG", 75, 0, false, false, 75, ""},
      {"switch on with a fixed quality", "JPEG", 75, 60, false, false, 60, ""},
      {"a border re-composes a low-quality JPEG source at 90", "JPEG", 75, 0, true, false, 90,
       "1x1,1x1,1x1"},
      {"89 is still low: re-composed at 90", "JPEG", 89, 0, true, false, 90, "1x1,1x1,1x1"},
      {"90 is high: written as it was", "JPEG", 90, 0, true, false, 90, "2x2,1x1,1x1"},
      {"a text watermark re-composes a high-quality source at its own quality", "JPEG", 95, 0,
       false, true, 95, "1x1,1x1,1x1"},
      {"and a low-quality one at 90", "JPEG", 80, 0, false, true, 90, "1x1,1x1,1x1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    MagickWandPtr wand = test::MakePicture(64, 48, c.format);
    if (c.source_quality) {
      MagickSetImageCompressionQuality(wand.get(), c.source_quality);
      MagickSetOption(wand.get(), "jpeg:sampling-factor", "2x2,1x1,1x1");
    }
    const fs::path source = folder_ / (std::string("source.") + c.format);
    std::string error;
    ASSERT_TRUE(WritePictureFile(wand.get(), source, &error)) << error;

    recipe_.options = InitialProcessingOptions();
    recipe_.options.bQuanlity = c.fixed_quality != 0;
    recipe_.options.quanlity = c.fixed_quality;
    recipe_.options.bBorder = c.border;
    recipe_.options.bSYText = c.text;
    recipe_.text_watermark.reset();
    if (c.text) {
      recipe_.options.sy_text = "Brindle";
      recipe_.options.sy_text_fontName = "DejaVu Sans";
      recipe_.text_watermark = std::make_shared<TextWatermark>();
      ASSERT_EQ(PrepareTextWatermarkForRun(*recipe_.text_watermark, recipe_.options,
                                           test::MachineCatalogue(), kDefaultScreenDpi),
                std::nullopt);
    }
    const fs::path target = folder_ / "out.jpg";
    fs::remove(target);
    MagickWandPtr out = Process(source, target);
    EXPECT_EQ(MagickGetImageCompressionQuality(out.get()), c.quality);
    if (*c.sampling) {
      char* sampling = MagickGetImageProperty(out.get(), "jpeg:sampling-factor");
      EXPECT_STREQ(sampling, c.sampling);
      MagickRelinquishMemory(sampling);
    }
  }
}

TEST_F(ProcessPictureTest, MaximumFileSizeIsHonoured) {
  fs::path big = Source("big.png", 1200, 900, "PNG");
  recipe_.options.bQuanlity = 1;
  recipe_.options.qualityMode = QualityMode::kMaxFileSize;
  recipe_.options.maxFileSize = 60;
  Process(big, folder_ / "small.jpg");
  EXPECT_LE(fs::file_size(folder_ / "small.jpg"), 60u * 1024u);

  // Outside 1 to 999998 the size is not a target: the non-JPEG fall-back of 94 applies.
  recipe_.options.maxFileSize = 999999;
  MagickWandPtr out = Process(big, folder_ / "fallback.jpg");
  EXPECT_EQ(MagickGetImageCompressionQuality(out.get()), 94u);
}

TEST_F(ProcessPictureTest, AnimatedGifIsRefusedAndStillGifProcessed) {
  MagickWandPtr frames = test::MakePicture(20, 20, "GIF");
  MagickWandPtr second = test::MakePicture(20, 20, "GIF");
  MagickAddImage(frames.get(), second.get());
  MagickSetImageFormat(frames.get(), "GIF");
  fs::path animated = folder_ / "anim.gif";
  ASSERT_EQ(MagickWriteImages(frames.get(), animated.c_str(), MagickTrue), MagickTrue);

  ProcessResult refused = ProcessPicture(recipe_, animated, folder_ / "anim.jpg", 0, 0);
  EXPECT_EQ(refused.outcome, ProcessOutcome::kFailed);
  EXPECT_EQ(InfoLog::Global().Text(),
            "这是一个不受支持的图片格式:\r\n" + animated.string() + "\r\n\r\n");
  EXPECT_FALSE(fs::exists(folder_ / "anim.jpg"));

  fs::path still = Source("still.gif", 20, 20, "GIF");
  MagickWandPtr out = Process(still, folder_ / "still.jpg");
  EXPECT_EQ(MagickGetImageWidth(out.get()), 20u);
}

TEST_F(ProcessPictureTest, UnreadablePictureIsLogged) {
  test::WriteFile(folder_ / "broken.jpg", "\xff\xd8\xff\xe0 not really a jpeg");
  ProcessResult result = ProcessPicture(recipe_, folder_ / "broken.jpg", folder_ / "o.jpg", 0, 0);
  EXPECT_EQ(result.outcome, ProcessOutcome::kFailed);
  EXPECT_EQ(InfoLog::Global().Text(),
            "图片读取失败:\r\n" + (folder_ / "broken.jpg").string() + "\r\n\r\n");
}

// The colour of one pixel as 8-bit RGB.
std::array<int, 3> PixelAt(MagickWand* wand, ssize_t x, ssize_t y) {
  PixelWandPtr pixel = MakePixelWand();
  MagickGetImagePixelColor(wand, x, y, pixel.get());
  return {static_cast<int>(std::lround(PixelGetRed(pixel.get()) * 255)),
          static_cast<int>(std::lround(PixelGetGreen(pixel.get()) * 255)),
          static_cast<int>(std::lround(PixelGetBlue(pixel.get()) * 255))};
}

TEST_F(ProcessPictureTest, TransparentPicturesAreFlattenedOntoWhite) {
  for (const char* format : {"PNG", "GIF", "TIFF"}) {
    MagickWandPtr wand = test::MakePicture(40, 40, format);
    MagickSetImageAlphaChannel(wand.get(), SetAlphaChannel);
    MagickWandPtr clear = MakeMagickWand();
    PixelWandPtr none = MakePixelWand("none");
    MagickNewImage(clear.get(), 20, 40, none.get());
    MagickCompositeImage(wand.get(), clear.get(), CopyOpacityCompositeOp, 0, 0);
    fs::path source = folder_ / (std::string("t.") + format);
    std::string error;
    ASSERT_TRUE(WritePictureFile(wand.get(), source, &error)) << error;

    MagickWandPtr out = Process(source, folder_ / (std::string("t-") + format + ".jpg"));
    auto left = PixelAt(out.get(), 5, 20);
    for (int channel : left) EXPECT_GE(channel, 245) << format;
  }
}

TEST_F(ProcessPictureTest, MetadataRemovalKeepsTheColourProfile) {
  fs::path jpeg = Source("meta.jpg", 32, 32, "JPEG", 80);
  {
    MagickWandPtr wand = ReadPicture(jpeg);
    MagickSetImageProperty(wand.get(), "comment", "taken on holiday");
    // A minimal Exif block: "Exif\0\0" and a little-endian TIFF header with no entries.
    const unsigned char exif[] = {'E', 'x', 'i', 'f', 0, 0, 'I', 'I', 42, 0,
                                  8,   0,   0,   0,   0, 0, 0,   0,   0,  0};
    MagickSetImageProfile(wand.get(), "exif", exif, sizeof exif);
    std::string icc = test::ReadFile("/usr/share/color/icc/colord/sRGB.icc");
    ASSERT_FALSE(icc.empty());
    MagickSetImageProfile(wand.get(), "icc", icc.data(), icc.size());
    ASSERT_TRUE(WritePictureFile(wand.get(), jpeg, nullptr));
  }
  recipe_.options.bRemovePhotoOtherInfo = 1;
  MagickWandPtr out = Process(jpeg, folder_ / "clean.jpg");
  size_t length = 0;
  EXPECT_FALSE(MagickBlobPtr(MagickGetImageProfile(out.get(), "exif", &length)));
  EXPECT_TRUE(MagickBlobPtr(MagickGetImageProfile(out.get(), "icc", &length)));
  EXPECT_FALSE(MagickTextPtr(MagickGetImageProperty(out.get(), "comment")));

  // Kept metadata does not depend on the effects: a border re-composes the JPEG on a new canvas.
  recipe_.options.bRemovePhotoOtherInfo = 0;
  for (int border : {0, 1}) {
    recipe_.options.bBorder = border;
    recipe_.options.border_size = 4;
    MagickWandPtr kept = Process(jpeg, folder_ / ("kept" + std::to_string(border) + ".jpg"));
    EXPECT_TRUE(MagickBlobPtr(MagickGetImageProfile(kept.get(), "exif", &length))) << border;
    MagickTextPtr comment(MagickGetImageProperty(kept.get(), "comment"));
    EXPECT_STREQ(comment.get(), "taken on holiday") << border;
  }
}

TEST_F(ProcessPictureTest, AResizeTheImageLibraryRefusesFailsThePictureWithItsReason) {
  fs::path source = Source("portrait.jpg", 30, 40, "JPEG");
  // 66000 pixels wide is beyond the image library's side limit.
  recipe_.options.bSize = 1;
  recipe_.options.zoomType = ZoomType::kEnlarge;
  recipe_.options.sizeValue = 66000;
  recipe_.options.bZoomSameScale = 0;
  ProcessResult result = ProcessPicture(recipe_, source, folder_ / "out.jpg", 0, 0);
  EXPECT_EQ(result.outcome, ProcessOutcome::kFailed);
  const std::string log = InfoLog::Global().Text();
  EXPECT_EQ(log.rfind("图片处理失败：\r\n" + source.string() + "\r\n原因：", 0), 0u) << log;
  EXPECT_NE(log.find("limit"), std::string::npos) << log;  // ImageMagick's reason
  EXPECT_FALSE(fs::exists(folder_ / "out.jpg"));
}

TEST_F(ProcessPictureTest, RotationAndFlipFromTheListEntry) {
  // Top half yellow, so after a right turn the right half is yellow; a flip then keeps it right.
  fs::path source = Source("r.png", 60, 40, "PNG");
  MagickWandPtr turned = Process(source, folder_ / "turned.jpg", 0, 90);
  EXPECT_EQ(MagickGetImageWidth(turned.get()), 40u);
  EXPECT_EQ(MagickGetImageHeight(turned.get()), 60u);
  EXPECT_GT(PixelAt(turned.get(), 35, 5)[1], 150);  // yellow: strong green
  EXPECT_LT(PixelAt(turned.get(), 5, 5)[1], 150);

  MagickWandPtr flipped = Process(source, folder_ / "flipped.jpg", 1, 0);
  EXPECT_GT(PixelAt(flipped.get(), 5, 35)[1], 150);  // the yellow corner is now bottom left
  EXPECT_LT(PixelAt(flipped.get(), 5, 5)[1], 150);
}

TEST_F(ProcessPictureTest, ExifOrientationIsTurnedUpright) {
  MagickWandPtr wand = test::MakePicture(60, 40, "JPEG");
  std::string exif = test::ExifWithOrientation(6);  // shown turned right
  MagickSetImageProfile(wand.get(), "exif", exif.data(), exif.size());
  MagickSetImageOrientation(wand.get(), RightTopOrientation);  // the writer syncs it into the Exif
  fs::path source = folder_ / "phone.jpg";
  ASSERT_TRUE(WritePictureFile(wand.get(), source, nullptr));

  MagickWandPtr out = Process(source, folder_ / "upright.jpg");
  EXPECT_EQ(MagickGetImageWidth(out.get()), 40u);
  EXPECT_EQ(MagickGetImageHeight(out.get()), 60u);
  EXPECT_TRUE(MagickGetImageOrientation(out.get()) == TopLeftOrientation ||
              MagickGetImageOrientation(out.get()) == UndefinedOrientation);

  // Made smaller while decoding: the stored top left (yellow) is shown top right.
  recipe_.options.bSize = 1;
  recipe_.options.sizeValue = 20;
  MagickWandPtr small = Process(source, folder_ / "small.jpg");
  EXPECT_EQ(MagickGetImageWidth(small.get()), 20u);
  EXPECT_EQ(MagickGetImageHeight(small.get()), 30u);
  EXPECT_GT(PixelAt(small.get(), 16, 4)[1], 150);
  EXPECT_LT(PixelAt(small.get(), 3, 4)[1], 150);
}

// A photograph's kind of content: smooth shading, edges, and detail at every scale down to single
// pixels, with the strength falling with the frequency.
MagickWandPtr PhotoLikePicture(int width, int height) {
  std::vector<unsigned char> samples(static_cast<std::size_t>(width) * height * 3);
  unsigned noise = 12345;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      for (int c = 0; c < 3; ++c) {
        double v = 110 + 40 * c;
        for (double f = 0.004; f < 1.6; f *= 1.7) {
          v += 9 / std::sqrt(f) * std::sin(f * (x * (1.0 + 0.3 * c) + 0.7 * y) + c) *
               std::cos(f * 0.8 * (y - 0.4 * x));
        }
        if ((x / 97 + y / 61) % 3 == 0) v -= 50;  // edges
        noise = noise * 1103515245u + 12345u;
        v += static_cast<double>((noise >> 16) % 17) - 8;
        samples[(static_cast<std::size_t>(y) * width + x) * 3 + c] =
            static_cast<unsigned char>(std::clamp(v, 0.0, 255.0));
      }
    }
  }
  MagickWandPtr wand = MakeMagickWand();
  MagickConstituteImage(wand.get(), width, height, "RGB", CharPixel, samples.data());
  MagickSetImageFormat(wand.get(), "JPEG");
  return wand;
}

TEST_F(ProcessPictureTest, ShrinkingAPhotographKeepsTheQualityOfAFullDecode) {
  MagickWandPtr photo_wand = PhotoLikePicture(1200, 800);
  MagickSetImageCompressionQuality(photo_wand.get(), 92);
  const fs::path photo = folder_ / "photo.jpg";
  ASSERT_TRUE(WritePictureFile(photo_wand.get(), photo, nullptr));
  recipe_.options.bSize = 1;
  recipe_.options.sizeValue = 300;  // a quarter of the width: decoded smaller
  MagickWandPtr written = Process(photo, folder_ / "reduced.jpg");
  EXPECT_EQ(MagickGetImageWidth(written.get()), 300u);
  EXPECT_EQ(MagickGetImageHeight(written.get()), 200u);
  // Turned a quarter in the list first: the width rule applies to the turned picture, and it is
  // turned the right way.
  MagickWandPtr turned = Process(photo, folder_ / "turned.jpg", 0, 90);
  EXPECT_EQ(MagickGetImageWidth(turned.get()), 300u);
  EXPECT_EQ(MagickGetImageHeight(turned.get()), 450u);
  ProcessResult turned_back = ProcessPicture(recipe_, photo, std::nullopt, 0, 90);
  ASSERT_TRUE(turned_back.wand);
  MagickWandPtr turned_full = ReadPicture(photo);
  PixelWandPtr none = MakePixelWand();
  MagickRotateImage(turned_full.get(), none.get(), 90);
  MagickResizeImage(turned_full.get(), 300, 450, LanczosFilter, 1.0);
  double turned_psnr = 0;
  MagickWandPtr turned_diff(MagickCompareImages(turned_back.wand.get(), turned_full.get(),
                                                PeakSignalToNoiseRatioMetric, &turned_psnr));
  EXPECT_GE(turned_psnr, 46.0);

  // Before encoding, against the full decode resized by ImageMagick's Lanczos in 16 bits.
  ProcessResult reduced = ProcessPicture(recipe_, photo, std::nullopt, 0, 0);
  ASSERT_TRUE(reduced.wand);
  MagickWandPtr full = ReadPicture(photo);
  MagickResizeImage(full.get(), 300, 200, LanczosFilter, 1.0);
  double psnr = 0;
  MagickWandPtr diff(
      MagickCompareImages(reduced.wand.get(), full.get(), PeakSignalToNoiseRatioMetric, &psnr));
  // Decoding all the way down to the target size on load gives about 39.5 dB here.
  EXPECT_GE(psnr, 46.0);
}

TEST_F(ProcessPictureTest, NamesAreWrittenExactlyAndPicturesCanBeHandedBack) {
  fs::path source = Source("100% [0].png", 30, 20, "PNG");
  MagickWandPtr out = Process(source, folder_ / "100% [0].jpg");
  EXPECT_EQ(MagickGetImageWidth(out.get()), 30u);

  ProcessResult handed = ProcessPicture(recipe_, source, std::nullopt, 0, 0);
  ASSERT_EQ(handed.outcome, ProcessOutcome::kHandedBack);
  ASSERT_TRUE(handed.wand);
  EXPECT_STREQ(MagickTextPtr(MagickGetImageFormat(handed.wand.get())).get(), "JPEG");
  EXPECT_EQ(MagickGetImageCompressionQuality(handed.wand.get()), 94u);
}

TEST_F(ProcessPictureTest, FirstPageOfATiff) {
  MagickWandPtr pages = test::MakePicture(50, 30, "TIFF");
  MagickWandPtr second = test::MakePicture(20, 10, "TIFF");
  MagickAddImage(pages.get(), second.get());
  fs::path tiff = folder_ / "pages.tif";
  ASSERT_EQ(MagickWriteImages(pages.get(), tiff.c_str(), MagickTrue), MagickTrue);
  MagickWandPtr out = Process(tiff, folder_ / "pages.jpg");
  EXPECT_EQ(MagickGetImageWidth(out.get()), 50u);
  EXPECT_EQ(MagickGetNumberImages(out.get()), 1u);
}

}  // namespace
}  // namespace brindle
