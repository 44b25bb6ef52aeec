#include "engine/read/picture_info.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>

#include "platform/magick/magick_wand.h"
#include "support/test_support.h"

namespace brindle {
namespace {

namespace fs = std::filesystem;
using test::ReadFile;
using test::TempFolder;
using test::WriteFile;

void WriteWand(MagickWand* wand, const fs::path& path) {
  std::string error;
  ASSERT_TRUE(WritePictureFile(wand, path, &error)) << error;
}

std::int64_t FileSize(const fs::path& path) {
  return static_cast<std::int64_t>(fs::file_size(path));
}

std::string Little16(unsigned value) {
  return {static_cast<char>(value & 0xff), static_cast<char>((value >> 8) & 0xff)};
}
std::string Little32(std::uint32_t value) {
  return Little16(value & 0xffff) + Little16(value >> 16);
}
std::string Big16(unsigned value) {
  return {static_cast<char>((value >> 8) & 0xff), static_cast<char>(value & 0xff)};
}
std::string Big32(std::uint32_t value) { return Big16(value >> 16) + Big16(value & 0xffff); }

// A BMP header of the Windows layout (40-byte information header) with the given fields.
std::string BmpHeader(std::uint32_t file_size, std::int32_t width, std::int32_t height) {
  return "BM" + Little32(file_size) + Little32(0) + Little32(54) + Little32(40) +
         Little32(static_cast<std::uint32_t>(width)) +
         Little32(static_cast<std::uint32_t>(height)) + Little16(1) + Little16(24) +
         std::string(24, '\0');
}

TEST(PictureInfoLine, FormatsSizesInBytesKilobytesAndMegabytes) {
  EXPECT_EQ(FormatPictureInfo(640, 480, "JPEG", 0),
            "尺寸: 640 x 480, 类型: JPEG 图片, 大小: 0 字节");
  EXPECT_EQ(FormatPictureInfo(640, 480, "JPEG", 1023),
            "尺寸: 640 x 480, 类型: JPEG 图片, 大小: 1023 字节");
  EXPECT_EQ(FormatPictureInfo(640, 480, "JPEG", 1024),
            "尺寸: 640 x 480, 类型: JPEG 图片, 大小: 1.0 KB");
  EXPECT_EQ(FormatPictureInfo(1, 2, "PNG", 1075), "尺寸: 1 x 2, 类型: PNG 图片, 大小: 1.0 KB");
  EXPECT_EQ(FormatPictureInfo(1, 2, "PNG", 1076), "尺寸: 1 x 2, 类型: PNG 图片, 大小: 1.1 KB");
  EXPECT_EQ(FormatPictureInfo(1, 2, "PNG", 1048575),
            "尺寸: 1 x 2, 类型: PNG 图片, 大小: 1024.0 KB");
  EXPECT_EQ(FormatPictureInfo(1, 2, "GIF", 1048576), "尺寸: 1 x 2, 类型: GIF 图片, 大小: 1.0 MB");
  EXPECT_EQ(FormatPictureInfo(1, 2, "GIF", 5LL * 1024 * 1024 * 1024),
            "尺寸: 1 x 2, 类型: GIF 图片, 大小: 5120.0 MB");
}

TEST(PictureInfoLine, FileSizesAtTheUnitBoundaries) {
  TempFolder folder;
  test::WritePicture(folder / "base.gif", 14, 10, "GIF");
  std::string gif = ReadFile(folder / "base.gif");
  ASSERT_LT(gif.size(), 1023u);
  struct Case {
    size_t size;
    const char* text;
  } cases[] = {
      {1023, "尺寸: 14 x 10, 类型: GIF 图片, 大小: 1023 字节"},
      {1024, "尺寸: 14 x 10, 类型: GIF 图片, 大小: 1.0 KB"},
      {1048576, "尺寸: 14 x 10, 类型: GIF 图片, 大小: 1.0 MB"},
  };
  for (const Case& c : cases) {
    std::string padded = gif + std::string(c.size - gif.size(), '\0');
    WriteFile(folder / "padded.gif", padded);
    PictureInfo info = PictureInfoLine(folder / "padded.gif");
    EXPECT_EQ(info.text, c.text);
    EXPECT_TRUE(info.header_recognised);
  }
}

TEST(PictureInfoLine, ReadsTheHeaderOfEveryFormat) {
  TempFolder folder;
  for (const char* format : {"JPEG", "GIF", "PNG", "PSD", "TIFF", "BMP"}) {
    fs::path path = folder / (std::string("picture.") + format);
    test::WritePicture(path, 321, 123, format);
    std::optional<PictureHeader> header = ReadPictureHeader(path);
    ASSERT_TRUE(header) << format;
    EXPECT_EQ(header->width, 321) << format;
    EXPECT_EQ(header->height, 123) << format;
    EXPECT_EQ(header->type, format);
    EXPECT_EQ(header->size, FileSize(path)) << format;
    PictureInfo info = PictureInfoLine(path);
    EXPECT_TRUE(info.header_recognised) << format;
    EXPECT_EQ(info.text, FormatPictureInfo(321, 123, format, FileSize(path)));
  }
}

TEST(PictureInfoLine, JpegSegmentWalk) {
  TempFolder folder;
  // Progressive (C2) with an ICC profile and a comment before the frame header.
  MagickWandPtr wand = test::MakePicture(500, 260, "JPEG");
  MagickSetInterlaceScheme(wand.get(), PlaneInterlace);
  MagickCommentImage(wand.get(), "a comment segment before the frame");
  std::string icc = ReadFile("/usr/share/color/icc/colord/sRGB.icc");
  if (!icc.empty()) MagickSetImageProfile(wand.get(), "icc", icc.data(), icc.size());
  WriteWand(wand.get(), folder / "progressive.jpg");
  std::string bytes = ReadFile(folder / "progressive.jpg");
  ASSERT_NE(bytes.find("\xff\xc2"), std::string::npos);
  ASSERT_EQ(bytes.find("\xff\xc0"), std::string::npos);
  std::optional<PictureHeader> header = ReadPictureHeader(folder / "progressive.jpg");
  ASSERT_TRUE(header);
  EXPECT_EQ(header->width, 500);
  EXPECT_EQ(header->height, 260);

  // A fill byte before a marker is legal JPEG but breaks the walk: the picture is then decoded.
  size_t quant_table = bytes.find("\xff\xdb");
  ASSERT_NE(quant_table, std::string::npos);
  std::string filled = bytes;
  filled.insert(quant_table, "\xff");
  WriteFile(folder / "filled.jpg", filled);
  EXPECT_FALSE(ReadPictureHeader(folder / "filled.jpg"));
  PictureInfo info = PictureInfoLine(folder / "filled.jpg");
  EXPECT_FALSE(info.header_recognised);
  EXPECT_EQ(info.text, FormatPictureInfo(500, 260, "JPEG", FileSize(folder / "filled.jpg")));
}

TEST(PictureInfoLine, TiffInBothByteOrders) {
  TempFolder folder;
  for (const char* endian : {"lsb", "msb"}) {
    MagickWandPtr wand = test::MakePicture(300, 70000 / 350, "TIFF");
    MagickSetOption(wand.get(), "tiff:endian", endian);
    fs::path path = folder / (std::string(endian) + ".tif");
    WriteWand(wand.get(), path);
    EXPECT_EQ(ReadFile(path).substr(0, 2), std::string(endian) == "lsb" ? "II" : "MM");
    std::optional<PictureHeader> header = ReadPictureHeader(path);
    ASSERT_TRUE(header) << endian;
    EXPECT_EQ(header->width, 300);
    EXPECT_EQ(header->height, 200);
    EXPECT_EQ(header->type, "TIFF");
  }
}

TEST(PictureInfoLine, TiffLongValuesAreReadWhole) {
  TempFolder folder;
  // Width and height stored as LONG, after another tag, in a big-endian file: their first 16 bits
  // are the high halves.
  std::string big = "MM" + Big16(42) + Big32(8) + Big16(3) +                   //
                    Big16(254) + Big16(4) + Big32(1) + Big32(0) +              // NewSubfileType
                    Big16(256) + Big16(4) + Big32(1) + Big32(70000) +          // width
                    Big16(257) + Big16(4) + Big32(1) + Big32(640) + Big32(0);  // height
  WriteFile(folder / "big.tif", big);
  std::optional<PictureHeader> header = ReadPictureHeader(folder / "big.tif");
  ASSERT_TRUE(header);
  EXPECT_EQ(header->width, 70000);
  EXPECT_EQ(header->height, 640);
  EXPECT_EQ(header->size, static_cast<std::int64_t>(big.size()));

  std::string little = "II" + Little16(42) + Little32(8) + Little16(2) +            //
                       Little16(257) + Little16(3) + Little32(1) + Little32(480) +  //
                       Little16(256) + Little16(4) + Little32(1) + Little32(66000) + Little32(0);
  WriteFile(folder / "little.tif", little);
  header = ReadPictureHeader(folder / "little.tif");
  ASSERT_TRUE(header);
  EXPECT_EQ(header->width, 66000);
  EXPECT_EQ(header->height, 480);

  // A directory without a height tag: no height, no header.
  std::string no_height = "II" + Little16(42) + Little32(8) + Little16(1) + Little16(256) +
                          Little16(3) + Little32(1) + Little32(480) + Little32(0);
  WriteFile(folder / "no_height.tif", no_height);
  EXPECT_FALSE(ReadPictureHeader(folder / "no_height.tif"));
}

TEST(PictureInfoLine, PngSidesAreReadWhole) {
  TempFolder folder;
  // Sides of 65536 and more have low halves that would read as 0 or as a wrong size.
  std::string png = std::string("\x89PNG\r\n\x1a\n", 8) + Big32(13) + "IHDR" + Big32(70000) +
                    Big32(65536) + std::string("\x08\x02\x00\x00\x00", 5) + Big32(0);
  WriteFile(folder / "wide.png", png);
  std::optional<PictureHeader> header = ReadPictureHeader(folder / "wide.png");
  ASSERT_TRUE(header);
  EXPECT_EQ(header->width, 70000);
  EXPECT_EQ(header->height, 65536);
  EXPECT_EQ(header->type, "PNG");
}

TEST(PictureInfoLine, BmpSidesAndStatedSize) {
  TempFolder folder;
  // An old-layout bitmap written by ImageMagick: its 16-bit sides read as 32 bits exceed 100000.
  MagickWandPtr wand = test::MakePicture(40, 30, "BMP2");
  WriteWand(wand.get(), folder / "old.bmp");
  std::string old = ReadFile(folder / "old.bmp");
  ASSERT_EQ(old.substr(14, 4), Little32(12));  // the 12-byte core header
  std::optional<PictureHeader> header = ReadPictureHeader(folder / "old.bmp");
  ASSERT_TRUE(header);
  EXPECT_EQ(header->width, 40);
  EXPECT_EQ(header->height, 30);
  EXPECT_EQ(header->type, "BMP");

  // A top-down bitmap stores a negative height; the size is what the header states.
  WriteFile(folder / "top_down.bmp", BmpHeader(1023, 640, -480) + std::string(2000, '\0'));
  header = ReadPictureHeader(folder / "top_down.bmp");
  ASSERT_TRUE(header);
  EXPECT_EQ(header->width, 640);
  EXPECT_EQ(header->height, 480);
  EXPECT_EQ(PictureInfoLine(folder / "top_down.bmp").text,
            "尺寸: 640 x 480, 类型: BMP 图片, 大小: 1023 字节");

  // 100000 is still read as 32 bits; 100001 falls back to the 16-bit fields.
  WriteFile(folder / "limit.bmp", BmpHeader(2048, 100000, 7));
  header = ReadPictureHeader(folder / "limit.bmp");
  ASSERT_TRUE(header);
  EXPECT_EQ(header->width, 100000);
  EXPECT_EQ(header->height, 7);
  WriteFile(folder / "over.bmp", BmpHeader(2048, 100001, 7));
  header = ReadPictureHeader(folder / "over.bmp");
  ASSERT_TRUE(header);
  EXPECT_EQ(header->width, 100001 & 0xffff);
  EXPECT_EQ(header->height, 100001 >> 16);

  // The most negative height has no positive counterpart in 32 bits: it takes the fallback too,
  // whose height (the high half of the width field) is 0 here, so the header is not understood.
  WriteFile(folder / "min.bmp", BmpHeader(2048, 5, INT32_MIN));
  EXPECT_FALSE(ReadPictureHeader(folder / "min.bmp"));
  WriteFile(folder / "min2.bmp", BmpHeader(2048, 0x00030005, INT32_MIN));
  header = ReadPictureHeader(folder / "min2.bmp");
  ASSERT_TRUE(header);
  EXPECT_EQ(header->width, 5);
  EXPECT_EQ(header->height, 3);
}

TEST(PictureInfoLine, ZeroSidesOrSizeFailTheHeader) {
  TempFolder folder;
  WriteFile(folder / "zero_size.bmp", BmpHeader(0, 10, 10));
  EXPECT_FALSE(ReadPictureHeader(folder / "zero_size.bmp"));
  WriteFile(folder / "zero_width.bmp", BmpHeader(100, 0, 10));
  EXPECT_FALSE(ReadPictureHeader(folder / "zero_width.bmp"));
  WriteFile(folder / "zero.gif", std::string("GIF89a\x00\x00\x05\x00\x00\x00\x00", 13));
  EXPECT_FALSE(ReadPictureHeader(folder / "zero.gif"));
  // PSD sides beyond what an int holds.
  WriteFile(folder / "huge.psd", "8BPS" + Big16(1) + std::string(6, '\0') + Big16(3) +
                                     Big32(0x80000000u) + Big32(10) + std::string(10, '\0'));
  EXPECT_FALSE(ReadPictureHeader(folder / "huge.psd"));
}

TEST(PictureInfoLine, HostileHeadersEnd) {
  TempFolder folder;
  auto header_of = [&](const std::string& bytes) {
    WriteFile(folder / "hostile", bytes);
    return ReadPictureHeader(folder / "hostile");
  };
  std::string soi("\xff\xd8", 2);
  // Segment lengths of 0 and 1 would walk backwards or stand still.
  EXPECT_FALSE(header_of(soi + std::string("\xff\xe0\x00\x00", 4) + std::string(100, '\xff')));
  EXPECT_FALSE(header_of(soi + std::string("\xff\xe0\x00\x01", 4) + std::string(100, '\xff')));
  // A segment that claims more than the file holds.
  EXPECT_FALSE(header_of(soi + std::string("\xff\xe1\xff\xff", 4) + "short"));
  // A frame header cut before its sides.
  EXPECT_FALSE(header_of(soi + std::string("\xff\xc0\x00\x11\x08\x01", 6)));
  // Many tiny segments and never a frame header.
  std::string segments = soi;
  for (int i = 0; i < 200000; ++i) segments += std::string("\xff\xfe\x00\x02", 4);
  EXPECT_FALSE(header_of(segments));
  // TIFF directory offsets beyond the end, and entry counts larger than the file.
  EXPECT_FALSE(header_of("II" + Little16(42) + Little32(0xffffffffu)));
  EXPECT_FALSE(header_of("MM" + Big16(42) + Big32(8) + Big16(0xffff) + std::string(30, '\0')));
  EXPECT_FALSE(header_of("II" + Little16(42) + Little32(8) + Little16(0)));
  // Files shorter than the fields they need.
  EXPECT_FALSE(header_of(std::string("GIF89a\x10\x00\x10", 9)));
  EXPECT_FALSE(header_of(std::string("\x89PNG\r\n\x1a\n", 8)));
  EXPECT_FALSE(header_of("8BPS"));
  EXPECT_FALSE(header_of("BM" + Little32(100)));
  EXPECT_FALSE(header_of("M"));
  EXPECT_FALSE(header_of(""));
}

TEST(PictureInfoLine, TruncatedPicturesNeverGiveWrongSides) {
  TempFolder folder;
  for (const char* format : {"JPEG", "GIF", "PNG", "PSD", "TIFF", "BMP"}) {
    test::WritePicture(folder / "full", 90, 60, format);
    std::string full = ReadFile(folder / "full");
    for (size_t cut = 0; cut < full.size(); cut += cut < 64 ? 1 : 97) {
      WriteFile(folder / "cut", full.substr(0, cut));
      std::optional<PictureHeader> header = ReadPictureHeader(folder / "cut");
      if (!header) continue;
      EXPECT_EQ(header->width, 90) << format << " cut at " << cut;
      EXPECT_EQ(header->height, 60) << format << " cut at " << cut;
      EXPECT_EQ(header->type, format);
    }
    // The decoder gets the worst of them: no crash, and a line either way.
    for (size_t cut : {size_t{0}, size_t{1}, size_t{7}, size_t{30}, full.size() / 3}) {
      WriteFile(folder / "cut", full.substr(0, cut));
      PictureInfo info = PictureInfoLine(folder / "cut");
      EXPECT_FALSE(info.text.empty());
      if (cut < 2) {
        EXPECT_EQ(info.text, kInvalidPictureText);
      }
    }
  }
}

TEST(PictureInfoLine, UnknownHeadersAreDecoded) {
  TempFolder folder;
  // A JPEG whose frame is an extended sequential one (FF C1): the header walk looks for C0 and C2
  // only, the decoder reads it all the same.
  MagickWandPtr wand = test::MakePicture(77, 55, "JPEG");
  WriteWand(wand.get(), folder / "picture.jpg");
  std::string bytes = test::ReadFile(folder / "picture.jpg");
  const std::size_t frame = bytes.find("\xFF\xC0");
  ASSERT_NE(frame, std::string::npos);
  bytes[frame + 1] = '\xC1';
  test::WriteFile(folder / "picture.jpg", bytes);
  PictureInfo info = PictureInfoLine(folder / "picture.jpg");
  EXPECT_FALSE(info.header_recognised);
  EXPECT_EQ(info.text, FormatPictureInfo(77, 55, "JPEG", FileSize(folder / "picture.jpg")));
}

TEST(PictureInfoLine, WhatCannotBeReadIsNotAValidPicture) {
  TempFolder folder;
  WriteFile(folder / "text.jpg", "not a picture at all");
  ASSERT_EQ(mkfifo((folder / "pipe.jpg").c_str(), 0600), 0);
  for (const fs::path& path :
       {folder / "text.jpg", folder / "missing.jpg", folder.path(), folder / "pipe.jpg"}) {
    PictureInfo info = PictureInfoLine(path);
    EXPECT_EQ(info.text, "注意: 这不是一个有效的图片") << path;
    EXPECT_FALSE(info.header_recognised) << path;
  }
}

}  // namespace
}  // namespace brindle
