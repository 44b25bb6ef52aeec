// Phone and web pictures (HEIC, AVIF, WebP) through brindle-cli: classified and described by their
// headers, read by the batch and the tools at the right size and turned upright, moving pictures
// refused with their message, and WebP and AVIF written at the asked quality or file size.

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/read/picture_read.h"
#include "platform/magick/magick_wand.h"
#include "support/test_support.h"

namespace brindle {
namespace {

namespace fs = std::filesystem;
using test::RunCli;
using test::TempFolder;

// Writes a picture made by test::MakePicture (its top-left quarter yellow) in the format, with an
// Exif block holding the orientation when one is given.
void WritePhoto(const fs::path& path, size_t width, size_t height, const char* format,
                int orientation = 0, size_t quality = 0) {
  MagickWandPtr wand = test::MakePicture(width, height, format);
  if (orientation) {
    const std::string exif = test::ExifWithOrientation(orientation);
    MagickSetImageProfile(wand.get(), "exif", exif.data(), exif.size());
    // ImageMagick writes the picture's orientation into the Exif block it saves.
    MagickSetImageOrientation(wand.get(), static_cast<OrientationType>(orientation));
  }
  if (quality) {
    MagickSetImageCompressionQuality(wand.get(), quality);
    MagickSetCompressionQuality(wand.get(), quality);
  }
  std::string error;
  ASSERT_TRUE(WritePictureFile(wand.get(), path, &error)) << error;
}

// The file decoded as it is stored (not turned upright), with the format its bytes have.
struct Decoded {
  MagickWandPtr wand;
  std::string format;
  size_t width = 0;
  size_t height = 0;
};

Decoded Decode(const fs::path& path) {
  Decoded decoded;
  decoded.wand = MakeMagickWand();
  std::string error;
  EXPECT_TRUE(ReadPictureFile(decoded.wand.get(), path, &error)) << path << " " << error;
  MagickTextPtr format(MagickGetImageFormat(decoded.wand.get()));
  decoded.format = format ? format.get() : "";
  decoded.width = MagickGetImageWidth(decoded.wand.get());
  decoded.height = MagickGetImageHeight(decoded.wand.get());
  return decoded;
}

// Whether the pixel at the given fraction of the picture is the yellow of MakePicture's quarter.
bool YellowAt(MagickWand* wand, double x, double y) {
  PixelWandPtr pixel = MakePixelWand();
  MagickGetImagePixelColor(wand, static_cast<ssize_t>(x * MagickGetImageWidth(wand)),
                           static_cast<ssize_t>(y * MagickGetImageHeight(wand)), pixel.get());
  return PixelGetRed(pixel.get()) > 0.7 && PixelGetGreen(pixel.get()) > 0.6 &&
         PixelGetBlue(pixel.get()) < 0.45;
}

// An animated WebP of two frames, made from a still WebP: its frame wrapped twice in an animation
// behind an extended header with the animation flag.
std::string AnimatedWebp(const std::string& still) {
  auto little = [](std::uint32_t value, int bytes) {
    std::string text;
    for (int i = 0; i < bytes; ++i) text.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
    return text;
  };
  auto chunk = [&](const char* type, const std::string& data) {
    std::string text = std::string(type, 4) + little(static_cast<std::uint32_t>(data.size()), 4) +
                       data;
    if (data.size() % 2) text.push_back('\0');
    return text;
  };
  const std::string frame = still.substr(12);  // the "VP8 " chunk
  const auto* bytes = reinterpret_cast<const unsigned char*>(still.data());
  const std::uint32_t width = (bytes[26] | (bytes[27] << 8)) & 0x3FFF;
  const std::uint32_t height = (bytes[28] | (bytes[29] << 8)) & 0x3FFF;
  const std::string sides = little(width - 1, 3) + little(height - 1, 3);
  const std::string anmf = std::string(6, '\0') + sides + little(100, 3) + '\0' + frame;
  const std::string body = "WEBP" + chunk("VP8X", std::string("\x02\0\0\0", 4) + sides) +
                           chunk("ANIM", std::string(6, '\0')) + chunk("ANMF", anmf) +
                           chunk("ANMF", anmf);
  return "RIFF" + little(static_cast<std::uint32_t>(body.size()), 4) + body;
}

class PictureFormatsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::EnsureMagick();
    source = folder / "phone";
    fs::create_directory(source);
    // Landscape pictures; the WebP's Exif says it is shown turned a quarter clockwise.
    WritePhoto(source / "a.heic", 240, 160, "HEIC");
    WritePhoto(source / "b.avif", 240, 160, "AVIF");
    WritePhoto(source / "c.webp", 240, 160, "WEBP", 6);
  }
  TempFolder folder;
  fs::path source;
};

TEST_F(PictureFormatsTest, ClassifyAndInfoReadTheHeaders) {
  test::WriteFile(source / "moving.webp", AnimatedWebp(test::ReadFile(source / "c.webp")));
  // A HEIF picture sequence: its major brand is the sequence brand.
  std::string sequence = test::ReadFile(source / "a.heic");
  sequence.replace(8, 4, "msf1");
  test::WriteFile(source / "sequence.heic", sequence);

  test::CommandResult classified =
      RunCli({"classify", (source / "a.heic").string(), (source / "b.avif").string(),
              (source / "c.webp").string(), (source / "moving.webp").string(),
              (source / "sequence.heic").string()});
  EXPECT_EQ(classified.status, 1);
  EXPECT_EQ(classified.out, "HEIF\nAVIF\nWEBP\n-1\n-1\n");

  test::CommandResult info = RunCli({"info", (source / "a.heic").string(),
                                     (source / "b.avif").string(), (source / "c.webp").string()});
  EXPECT_EQ(info.status, 0) << info.err;
  auto line = [&](const char* type, const char* name) {
    const std::string size = test::ReadFile(source / name).size() < 1024
                                 ? std::to_string(test::ReadFile(source / name).size()) + " 字节"
                                 : "";
    return std::string("尺寸: 240 x 160, 类型: ") + type + " 图片, 大小: " + size;
  };
  std::vector<std::string> lines;
  for (std::size_t start = 0, end; (end = info.out.find('\n', start)) != std::string::npos;
       start = end + 1) {
    lines.push_back(info.out.substr(start, end - start));
  }
  ASSERT_EQ(lines.size(), 3u) << info.out;
  EXPECT_EQ(lines[0].substr(0, line("HEIF", "a.heic").size()), line("HEIF", "a.heic"));
  EXPECT_EQ(lines[1].substr(0, line("AVIF", "b.avif").size()), line("AVIF", "b.avif"));
  EXPECT_EQ(lines[2].substr(0, line("WEBP", "c.webp").size()), line("WEBP", "c.webp"));
  EXPECT_EQ(info.err, "");  // every header understood
}

TEST_F(PictureFormatsTest, BatchReadsEveryFormatUprightAndRefusesAnAnimation) {
  test::WriteFile(source / "moving.webp", AnimatedWebp(test::ReadFile(source / "c.webp")));
  TempFolder out;
  test::CommandResult result = RunCli(
      {"batch", "--out", out.path().string(), "bSize=1", "sizeValue=120", source.string()});
  EXPECT_EQ(result.status, 1) << result.err;
  EXPECT_EQ(result.err,
            "不支持webp动画图片:\n" + (source / "moving.webp").string() + "\n\n");
  EXPECT_EQ(test::FilesIn(out.path()), (std::vector<std::string>{"a.jpg", "b.jpg", "c.jpg"}));

  for (const char* name : {"a.jpg", "b.jpg"}) {
    Decoded landscape = Decode(out / name);
    EXPECT_EQ(landscape.format, "JPEG");
    EXPECT_EQ(landscape.width, 120u) << name;
    EXPECT_EQ(landscape.height, 80u) << name;
    EXPECT_TRUE(YellowAt(landscape.wand.get(), 0.2, 0.2)) << name;
  }
  // The WebP was stored lying on its side: upright it is 160 wide, its yellow quarter top right.
  Decoded upright = Decode(out / "c.jpg");
  EXPECT_EQ(upright.width, 120u);
  EXPECT_EQ(upright.height, 180u);
  EXPECT_TRUE(YellowAt(upright.wand.get(), 0.8, 0.2));
  EXPECT_FALSE(YellowAt(upright.wand.get(), 0.2, 0.2));
}

TEST_F(PictureFormatsTest, HeifWithSeveralStillsGivesItsPrimaryPicture) {
  // heif-enc stores its first input as the primary picture.
  test::WritePicture(folder / "first.jpg", 120, 90, "JPEG");
  MagickWandPtr other = MakeMagickWand();
  PixelWandPtr black = MakePixelWand("#000000");
  MagickNewImage(other.get(), 60, 40, black.get());
  MagickSetImageFormat(other.get(), "JPEG");
  ASSERT_TRUE(WritePictureFile(other.get(), folder / "second.jpg", nullptr));
  const std::string command = "heif-enc -q 80 '" + (folder / "first.jpg").string() + "' '" +
                              (folder / "second.jpg").string() + "' -o '" +
                              (source / "two.heic").string() + "' >/dev/null 2>&1";
  ASSERT_EQ(std::system(command.c_str()), 0);

  TempFolder out;
  test::CommandResult result = RunCli(
      {"batch", "--out", out.path().string(), (source / "two.heic").string()});
  EXPECT_EQ(result.status, 0) << result.err;
  Decoded primary = Decode(out / "two.jpg");
  EXPECT_EQ(primary.width, 120u);
  EXPECT_EQ(primary.height, 90u);
  EXPECT_TRUE(YellowAt(primary.wand.get(), 0.2, 0.2));
}

TEST_F(PictureFormatsTest, BatchWritesWebpAndAvifAtTheAskedQuality) {
  TempFolder low;
  TempFolder high;
  TempFolder avif;
  for (const auto& [out, settings] :
       std::vector<std::pair<fs::path, std::vector<std::string>>>{
           {low.path(), {"outputFormat=WEBP", "bQuanlity=1", "quanlity=30"}},
           {high.path(), {"outputFormat=WEBP", "bQuanlity=1", "quanlity=95"}},
           {avif.path(), {"outputFormat=AVIF", "bQuanlity=1", "quanlity=60"}}}) {
    std::vector<std::string> args = {"batch", "--out", out.string(), "bSize=1", "sizeValue=200"};
    args.insert(args.end(), settings.begin(), settings.end());
    args.push_back((source / "a.heic").string());
    args.push_back((source / "c.webp").string());
    test::CommandResult result = RunCli(args);
    EXPECT_EQ(result.status, 0) << result.err;
  }
  EXPECT_EQ(test::FilesIn(low.path()), (std::vector<std::string>{"a.webp", "c.webp"}));
  EXPECT_EQ(test::FilesIn(avif.path()), (std::vector<std::string>{"a.avif", "c.avif"}));
  for (const char* name : {"a", "c"}) {
    // The upright WebP is 160 wide, narrower than the 200 it would be shrunk to.
    const size_t width = name[0] == 'a' ? 200u : 160u;
    const std::string webp = std::string(name) + ".webp";
    EXPECT_LT(fs::file_size(low / webp) * 2, fs::file_size(high / webp)) << name;
    Decoded written = Decode(high / webp);
    EXPECT_EQ(written.format, "WEBP");
    EXPECT_EQ(written.width, width);
    Decoded small = Decode(avif / (std::string(name) + ".avif"));
    EXPECT_EQ(small.width, width);
    // The AVIF is ImageMagick's HEIF reader's picture, an AV1 one by its brand.
    EXPECT_EQ(test::ReadFile(avif / (std::string(name) + ".avif")).substr(4, 8), "ftypavif");
  }
  // Upright and written without an orientation that would turn it again.
  Decoded upright = Decode(high / "c.webp");
  EXPECT_EQ(upright.height, 240u);
  EXPECT_TRUE(YellowAt(upright.wand.get(), 0.8, 0.2));
  EXPECT_TRUE(MagickGetImageOrientation(upright.wand.get()) == UndefinedOrientation ||
              MagickGetImageOrientation(upright.wand.get()) == TopLeftOrientation);
  size_t length = 0;
  MagickBlobPtr exif(MagickGetImageProfile(upright.wand.get(), "exif", &length));
  if (exif) {
    EXPECT_TRUE(ExifOrientation(exif.get(), length) == UndefinedOrientation ||
                ExifOrientation(exif.get(), length) == TopLeftOrientation);
  }

  // A bad format name is a usage error.
  test::CommandResult refused =
      RunCli({"batch", "--out", low.path().string(), "outputFormat=GIF", source.string()});
  EXPECT_EQ(refused.status, 2);
  EXPECT_EQ(refused.err, "设置项 outputFormat 只能是 JPG、WEBP 或 AVIF: GIF\n");
}

TEST_F(PictureFormatsTest, TargetFileSizeIsMetForWebpAsForJpeg) {
  // A large noisy picture: at the encoders' default quality far above 50 KB.
  WritePhoto(folder / "big.png", 1600, 1200, "PNG");
  for (const char* format : {"JPG", "WEBP"}) {
    TempFolder out;
    test::CommandResult result =
        RunCli({"batch", "--out", out.path().string(), std::string("outputFormat=") + format,
                "bQuanlity=1", "qualityMode=1", "maxFileSize=50", (folder / "big.png").string()});
    EXPECT_EQ(result.status, 0) << result.err;
    const fs::path written = out / (std::string("big.") + (format[0] == 'J' ? "jpg" : "webp"));
    EXPECT_LE(fs::file_size(written), 50u * 1024u) << format;
    // The search keeps the best quality that fits, not the smallest file.
    EXPECT_GT(fs::file_size(written), 35u * 1024u) << format;
    EXPECT_EQ(Decode(written).width, 1600u);
  }
}

TEST_F(PictureFormatsTest, ToolsTakeTheNewFormats) {
  // Format conversion into WebP and AVIF, the quality slider applying.
  TempFolder low;
  TempFolder high;
  const std::string mask = "convert_load_format_option=" + std::to_string(2048 | 4096 | 256);
  for (const auto& [out, quality] : {std::pair{low.path(), "20"}, std::pair{high.path(), "95"}}) {
    test::CommandResult result =
        RunCli({"convert", "--source", source.string(), "--out", out.string(), mask,
                "convert_format=WEBP", std::string("convert_quality=") + quality});
    EXPECT_EQ(result.status, 0) << result.err;
  }
  EXPECT_EQ(test::FilesIn(high.path()),
            (std::vector<std::string>{"a.webp", "b.webp", "c.webp"}));
  EXPECT_LT(fs::file_size(low / "a.webp") * 2, fs::file_size(high / "a.webp"));
  EXPECT_EQ(Decode(high / "c.webp").height, 240u);  // turned upright

  TempFolder avif;
  test::CommandResult to_avif =
      RunCli({"convert", "--source", source.string(), "--out", avif.path().string(), mask,
              "convert_format=AVIF", "convert_quality=50", "convert_is_save_original_file_extension_name=1"});
  EXPECT_EQ(to_avif.status, 0) << to_avif.err;
  EXPECT_EQ(test::FilesIn(avif.path()),
            (std::vector<std::string>{"a.heic.avif", "b.avif", "c.webp.avif"}));
  EXPECT_EQ(Decode(avif / "b.avif").width, 240u);

  // Cropping from the folder by the new boxes, and kept in its own format.
  TempFolder cropped;
  test::CommandResult crop = RunCli(
      {"crop", "--source", source.string(), "--out", cropped.path().string(), "--keep-format",
       "crop_load_format_option=" + std::to_string(256 | 2048 | 4096), "crop_fixed_width=100",
       "crop_fixed_height=100"});
  EXPECT_EQ(crop.status, 0) << crop.err;
  EXPECT_EQ(test::FilesIn(cropped.path()),
            (std::vector<std::string>{"a.heic", "b.avif", "c.webp"}));
  EXPECT_EQ(test::ReadFile(cropped / "b.avif").substr(4, 8), "ftypavif");
  for (const char* name : {"a.heic", "b.avif", "c.webp"}) {
    Decoded piece = Decode(cropped / name);
    EXPECT_EQ(piece.width, 100u) << name;
    EXPECT_EQ(piece.height, 100u) << name;
  }

  // Joining them side by side: three pictures of the same height.
  TempFolder joined;
  test::CommandResult join = RunCli({"join", "--out", joined.path().string(), "join_layout=2",
                                     (source / "a.heic").string(), (source / "b.avif").string(),
                                     (source / "c.webp").string()});
  EXPECT_EQ(join.status, 0) << join.err;
  ASSERT_EQ(test::FilesIn(joined.path()).size(), 1u);
  Decoded row = Decode(joined / test::FilesIn(joined.path()).front());
  EXPECT_EQ(row.height, 160u);
  EXPECT_EQ(row.width, 240u + 240u + 107u);  // the upright WebP scaled to 160 high

  // Slicing each into halves.
  TempFolder sliced;
  test::CommandResult slice = RunCli(
      {"slice", "--source", source.string(), "--out", sliced.path().string(),
       "slice_load_format_option=" + std::to_string(256 | 2048 | 4096), "slice_horizontal=1",
       "slice_horizontal_avg_value=2", "slice_format=PNG"});
  EXPECT_EQ(slice.status, 0) << slice.err;
  for (const char* tile : {"a-1.png", "a-2.png", "b-1.png", "c-2.png"}) {
    EXPECT_TRUE(fs::exists(sliced / tile)) << tile << " " << slice.err;
  }
  EXPECT_EQ(Decode(sliced / "a-1.png").height, 80u);
}

TEST_F(PictureFormatsTest, KeepTimeGivesWrittenFilesTheSourceTime) {
  const auto old_time = fs::file_time_type::clock::now() - std::chrono::hours(24 * 400);
  test::WritePicture(source / "d.png", 60, 40, "PNG");
  for (const auto& item : fs::directory_iterator(source)) fs::last_write_time(item.path(), old_time);

  TempFolder batch;
  TempFolder convert;
  TempFolder png;
  TempFolder crop;
  const std::vector<std::vector<std::string>> runs = {
      {"batch", "--keep-time", "--out", batch.path().string(), source.string()},
      {"convert", "--keep-time", "--source", source.string(), "--out", convert.path().string(),
       "convert_load_format_option=8191"},
      {"png", "--keep-time", "--source", source.string(), "--out", png.path().string()},
      {"crop", "--keep-time", "--source", source.string(), "--out", crop.path().string(),
       "crop_load_format_option=8191", "crop_fixed_width=30"},
  };
  for (const std::vector<std::string>& args : runs) {
    test::CommandResult result = RunCli(args);
    EXPECT_EQ(result.status, 0) << args[0] << result.err;
  }
  std::size_t written = 0;
  for (const TempFolder* out : {&batch, &convert, &png, &crop}) {
    for (const auto& item : fs::recursive_directory_iterator(out->path())) {
      ++written;
      EXPECT_EQ(fs::last_write_time(item.path()), old_time) << item.path();
    }
  }
  EXPECT_EQ(written, 4u + 4u + 1u + 4u);

  // Without it a written file has the time of its writing.
  TempFolder fresh;
  ASSERT_EQ(RunCli({"batch", "--out", fresh.path().string(), (source / "d.png").string()}).status,
            0);
  EXPECT_GT(fs::last_write_time(fresh / "d.jpg"), old_time + std::chrono::hours(24 * 300));

  // Over the source: the source keeps its time.
  ASSERT_EQ(RunCli({"batch", "--keep-time", "--overwrite", (source / "a.heic").string()}).status,
            0);
  EXPECT_EQ(fs::last_write_time(source / "a.heic"), old_time);
  EXPECT_EQ(Decode(source / "a.heic").format, "JPEG");
}

}  // namespace
}  // namespace brindle
