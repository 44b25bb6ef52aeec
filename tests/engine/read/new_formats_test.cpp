// HEIF, AVIF and WebP told apart by their first bytes, their sides read from their headers, their
// orientation found, and the pictures written as WebP and AVIF by the batch's encoder.

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "engine/read/heif_header.h"
#include "engine/read/heif_thumbnail.h"
#include "engine/read/picture_classify.h"
#include "engine/read/picture_info.h"
#include "engine/read/picture_read.h"
#include "engine/write/output_encoding.h"
#include "support/test_support.h"

namespace brindle {
namespace {

namespace fs = std::filesystem;

PictureClass Classify(const std::string& head) {
  return ClassifyContainer(reinterpret_cast<const std::uint8_t*>(head.data()), head.size());
}

std::string Big32(std::uint32_t value) {
  return {static_cast<char>(value >> 24), static_cast<char>(value >> 16),
          static_cast<char>(value >> 8), static_cast<char>(value)};
}

// An "ftyp" box with the major brand and the compatible brands.
std::string Ftyp(const std::string& major, const std::string& compatible) {
  return Big32(static_cast<std::uint32_t>(16 + compatible.size())) + "ftyp" + major +
         std::string(4, '\0') + compatible;
}

std::string Box(const std::string& type, const std::string& payload) {
  return Big32(static_cast<std::uint32_t>(8 + payload.size())) + type + payload;
}

TEST(ClassifyContainer, TellsTheBrandsAndMovingPictures) {
  EXPECT_EQ(Classify(Ftyp("heic", "mif1heic")), PictureClass::kHeif);
  EXPECT_EQ(Classify(Ftyp("heix", "")), PictureClass::kHeif);
  EXPECT_EQ(Classify(Ftyp("mif1", "heic")), PictureClass::kHeif);
  EXPECT_EQ(Classify(Ftyp("avif", "mif1miaf")), PictureClass::kAvif);
  EXPECT_EQ(Classify(Ftyp("mif1", "miafavif")), PictureClass::kAvif);
  EXPECT_EQ(Classify(Ftyp("msf1", "heic")), PictureClass::kHeifSequence);
  EXPECT_EQ(Classify(Ftyp("hevc", "")), PictureClass::kHeifSequence);
  EXPECT_EQ(Classify(Ftyp("avis", "avif")), PictureClass::kHeifSequence);
  // Other ISO media files (a video, a phone's MP4) are no pictures.
  EXPECT_EQ(Classify(Ftyp("isom", "mp41")), PictureClass::kUnknown);
  EXPECT_EQ(Classify(Ftyp("mif1", "")), PictureClass::kUnknown);
  // Brands past the box's own size are not read.
  std::string cut = Ftyp("mif1", "heic");
  cut[3] = 16;
  EXPECT_EQ(Classify(cut), PictureClass::kUnknown);

  const std::string webp = std::string("RIFF\x10\0\0\0WEBP", 12);
  EXPECT_EQ(Classify(webp + "VP8 "), PictureClass::kWebp);
  EXPECT_EQ(Classify(webp + "VP8L"), PictureClass::kWebp);
  EXPECT_EQ(Classify(webp + "VP8X" + std::string("\x0a\0\0\0\x10\0\0\0", 8)), PictureClass::kWebp);
  EXPECT_EQ(Classify(webp + "VP8X" + std::string("\x0a\0\0\0\x12\0\0\0", 8)),
            PictureClass::kAnimatedWebp);
  EXPECT_EQ(Classify(std::string("RIFF\x10\0\0\0WAVE", 12)), PictureClass::kUnknown);
  EXPECT_EQ(Classify("RIFF"), PictureClass::kUnknown);

  EXPECT_EQ(FailureCode(PictureClass::kAnimatedWebp), -1);
  EXPECT_EQ(FailureCode(PictureClass::kHeifSequence), -1);
  EXPECT_EQ(FailureCode(PictureClass::kAnimatedGif), -1);
  EXPECT_EQ(FailureCode(PictureClass::kUnknown), -2);
  EXPECT_EQ(PictureClassName(PictureClass::kHeif), "HEIF");
  EXPECT_EQ(PictureClassName(PictureClass::kAvif), "AVIF");
  EXPECT_EQ(PictureClassName(PictureClass::kWebp), "WEBP");
}

TEST(HeifSides, PrimaryItemsSizeTurnedByItsRotation) {
  // Item 1 is a thumbnail of 160 x 120, item 2 the primary picture of 4000 x 3000.
  auto ispe = [](std::uint32_t w, std::uint32_t h) {
    return Box("ispe", std::string(4, '\0') + Big32(w) + Big32(h));
  };
  const std::string ipco = Box("ipco", ispe(160, 120) + ispe(4000, 3000) + Box("irot", "\x01"));
  auto meta = [&](const std::string& associations) {
    const std::string ipma =
        Box("ipma", std::string(4, '\0') + Big32(2) + std::string("\0\x01\x01\x81", 4) +
                        std::string("\0\x02", 2) + associations);
    return Box("pitm", std::string(4, '\0') + std::string("\0\x02", 2)) +
           Box("iprp", ipco + ipma);
  };
  auto sides = [](const std::string& bytes) {
    return HeifSidesFromMeta(std::span<const std::uint8_t>(
        reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
  };
  std::optional<HeifSides> plain = sides(meta(std::string("\x01\x82", 2)));
  ASSERT_TRUE(plain);
  EXPECT_EQ(plain->width, 4000u);
  EXPECT_EQ(plain->height, 3000u);
  std::optional<HeifSides> turned = sides(meta(std::string("\x02\x82\x83", 3)));
  ASSERT_TRUE(turned);
  EXPECT_EQ(turned->width, 3000u);
  EXPECT_EQ(turned->height, 4000u);
  // Cut anywhere, the boxes give an answer or none, and never read past their end.
  const std::string whole = meta(std::string("\x02\x82\x83", 3));
  for (std::size_t cut = 0; cut < whole.size(); ++cut) sides(whole.substr(0, cut));
}

class NewFormatsFileTest : public ::testing::Test {
 protected:
  void SetUp() override { test::EnsureMagick(); }
  test::TempFolder folder_;
};

TEST_F(NewFormatsFileTest, HeadersGiveTheSidesWithoutDecoding) {
  struct Case {
    const char* name;
    const char* format;
    const char* type;
  };
  for (const Case& c : {Case{"p.heic", "HEIC", "HEIF"}, Case{"p.avif", "AVIF", "AVIF"},
                        Case{"p.webp", "WEBP", "WEBP"}}) {
    test::WritePicture(folder_ / c.name, 333, 222, c.format);
    EXPECT_EQ(ClassifyPictureFile(folder_ / c.name),
              c.type[0] == 'H' ? PictureClass::kHeif
              : c.type[0] == 'A' ? PictureClass::kAvif
                                 : PictureClass::kWebp)
        << c.name;
    std::optional<PictureHeader> header = ReadPictureHeader(folder_ / c.name);
    ASSERT_TRUE(header) << c.name;
    EXPECT_EQ(header->width, 333) << c.name;
    EXPECT_EQ(header->height, 222) << c.name;
    EXPECT_EQ(header->type, c.type);
    EXPECT_EQ(header->size, static_cast<std::int64_t>(fs::file_size(folder_ / c.name)));
  }
  // A lossless WebP keeps its sides bit-packed; one with transparency has the extended header.
  MagickWandPtr lossless = test::MakePicture(301, 17, "WEBP");
  MagickSetOption(lossless.get(), "webp:lossless", "true");
  ASSERT_TRUE(WritePictureFile(lossless.get(), folder_ / "lossless.webp", nullptr));
  ASSERT_EQ(test::ReadFile(folder_ / "lossless.webp").substr(12, 4), "VP8L");
  std::optional<PictureHeader> header = ReadPictureHeader(folder_ / "lossless.webp");
  ASSERT_TRUE(header);
  EXPECT_EQ(header->width, 301);
  EXPECT_EQ(header->height, 17);

  MagickWandPtr clear = MakeMagickWand();
  PixelWandPtr half = MakePixelWand("#ff000080");
  MagickNewImage(clear.get(), 64, 40, half.get());
  MagickSetImageFormat(clear.get(), "WEBP");
  ASSERT_TRUE(WritePictureFile(clear.get(), folder_ / "alpha.webp", nullptr));
  ASSERT_EQ(test::ReadFile(folder_ / "alpha.webp").substr(12, 4), "VP8X");
  header = ReadPictureHeader(folder_ / "alpha.webp");
  ASSERT_TRUE(header);
  EXPECT_EQ(header->width, 64);
  EXPECT_EQ(header->height, 40);
}

TEST_F(NewFormatsFileTest, AvifIsNamedAvifAndWebpOrientationIsApplied) {
  test::WritePicture(folder_ / "p.avif", 60, 40, "AVIF");
  MagickWandPtr avif = ReadPicture(folder_ / "p.avif");
  ASSERT_TRUE(avif);
  MagickTextPtr format(MagickGetImageFormat(avif.get()));
  EXPECT_STREQ(format.get(), "AVIF");

  for (int orientation : {1, 3, 6, 8}) {
    MagickWandPtr photo = test::MakePicture(60, 40, "WEBP");
    const std::string exif = test::ExifWithOrientation(orientation);
    MagickSetImageProfile(photo.get(), "exif", exif.data(), exif.size());
    // ImageMagick writes the picture's orientation into the Exif block it saves.
    MagickSetImageOrientation(photo.get(), static_cast<OrientationType>(orientation));
    const fs::path path = folder_ / ("o" + std::to_string(orientation) + ".webp");
    ASSERT_TRUE(WritePictureFile(photo.get(), path, nullptr));
    MagickWandPtr upright = ReadPicture(path);
    ASSERT_TRUE(upright);
    const bool sideways = orientation >= 5;
    EXPECT_EQ(MagickGetImageWidth(upright.get()), sideways ? 40u : 60u) << orientation;
    EXPECT_EQ(MagickGetImageOrientation(upright.get()), TopLeftOrientation) << orientation;
    // The stored picture's yellow top-left quarter is where the orientation shows it.
    const bool right = orientation == 3 || orientation == 6;
    const bool bottom = orientation == 3 || orientation == 8;
    PixelWandPtr pixel = MakePixelWand();
    const auto width = static_cast<ssize_t>(MagickGetImageWidth(upright.get()));
    const auto height = static_cast<ssize_t>(MagickGetImageHeight(upright.get()));
    MagickGetImagePixelColor(upright.get(), right ? width - 5 : 5, bottom ? height - 5 : 5,
                             pixel.get());
    EXPECT_GT(PixelGetRed(pixel.get()), 0.7) << orientation;
    EXPECT_LT(PixelGetBlue(pixel.get()), 0.45) << orientation;
  }
  EXPECT_EQ(ExifOrientation(reinterpret_cast<const unsigned char*>("Exif\0\0MM"), 8),
            UndefinedOrientation);
}

TEST_F(NewFormatsFileTest, EncoderSearchesTheQualityForATargetSize) {
  MagickWandPtr picture = test::MakePicture(900, 700, "PNG");
  ProcessingOptions options = InitialProcessingOptions();
  options.outputFormat = OutputFormat::kWebp;
  options.bQuanlity = 1;
  options.qualityMode = QualityMode::kMaxFileSize;
  options.maxFileSize = 30;
  std::string bytes;
  ASSERT_TRUE(EncodeOutput(picture.get(), options, bytes, nullptr));
  EXPECT_EQ(bytes.substr(8, 4), "WEBP");
  EXPECT_LE(bytes.size(), 30u * 1024u);
  // At the highest quality it would not fit: the search had work to do.
  std::string larger;
  SetEncoderQuality(picture.get(), 100);
  options.qualityMode = QualityMode::kFixedQuality;
  options.maxFileSize = 0;
  ASSERT_TRUE(EncodeOutput(picture.get(), options, larger, nullptr));
  EXPECT_GT(larger.size(), 30u * 1024u);

  // A target no quality reaches gives the smallest file there is.
  options.qualityMode = QualityMode::kMaxFileSize;
  options.maxFileSize = 1;
  std::string smallest;
  ASSERT_TRUE(EncodeOutput(picture.get(), options, smallest, nullptr));
  EXPECT_GT(smallest.size(), 1024u);
  EXPECT_LT(smallest.size(), bytes.size());
}

TEST_F(NewFormatsFileTest, EmbeddedHeifThumbnailWhenLargeEnough) {
  // From a JPEG: heif-enc makes the thumbnail of a PNG source with its samples out of step.
  test::WritePicture(folder_ / "photo.jpg", 800, 600, "JPEG");
  const std::string command = "heif-enc -q 60 -t 320 '" + (folder_ / "photo.jpg").string() +
                              "' -o '" + (folder_ / "photo.heic").string() + "' >/dev/null 2>&1";
  ASSERT_EQ(std::system(command.c_str()), 0);
  std::optional<Pixels8> thumbnail = HeifEmbeddedThumbnail(folder_ / "photo.heic", 256);
  ASSERT_TRUE(thumbnail);
  EXPECT_EQ(thumbnail->width, 320);
  EXPECT_EQ(thumbnail->height, 240);
  EXPECT_EQ(thumbnail->channels, 3);
  ASSERT_EQ(thumbnail->samples.size(), 320u * 240u * 3u);
  // The yellow top-left quarter of the picture is there in small.
  const std::uint8_t* corner = thumbnail->samples.data() + (40 * 320 + 40) * 3;
  EXPECT_GT(corner[0], 180);
  EXPECT_LT(corner[2], 110);

  EXPECT_FALSE(HeifEmbeddedThumbnail(folder_ / "photo.heic", 400));  // too small for that
  test::WritePicture(folder_ / "plain.heic", 200, 100, "HEIC");     // none stored
  EXPECT_FALSE(HeifEmbeddedThumbnail(folder_ / "plain.heic", 16));
  test::WritePicture(folder_ / "p.webp", 200, 100, "WEBP");
  EXPECT_FALSE(HeifEmbeddedThumbnail(folder_ / "p.webp", 16));
  test::WriteFile(folder_ / "cut.heic", test::ReadFile(folder_ / "photo.heic").substr(0, 300));
  EXPECT_FALSE(HeifEmbeddedThumbnail(folder_ / "cut.heic", 16));
}

}  // namespace
}  // namespace brindle
