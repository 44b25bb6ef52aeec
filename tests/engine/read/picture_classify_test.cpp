#include "engine/read/picture_classify.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

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

// A GIF of the given number of frames, each a different colour, written by ImageMagick. Encoding a
// GIF is slow, so each kind is made once.
const std::string& MagickGif(int frames, const char* format = "GIF") {
  static std::map<std::pair<int, std::string>, std::string> made;
  std::string& bytes = made[{frames, format}];
  if (!bytes.empty()) return bytes;
  test::EnsureMagick();
  MagickWandPtr wand = MakeMagickWand();
  const char* colours[] = {"#ff0000", "#00ff00", "#0000ff"};
  for (int i = 0; i < frames; ++i) {
    PixelWandPtr colour = MakePixelWand(colours[i % 3]);
    MagickNewImage(wand.get(), 24, 16, colour.get());
  }
  MagickSetFormat(wand.get(), format);
  MagickResetIterator(wand.get());
  size_t length = 0;
  MagickBlobPtr blob(MagickGetImagesBlob(wand.get(), &length));
  bytes.assign(reinterpret_cast<const char*>(blob.get()), length);
  return bytes;
}

std::string Extension(unsigned char label, const std::string& fixed,
                      const std::vector<std::string>& sub_blocks) {
  std::string bytes = {'\x21', static_cast<char>(label)};
  bytes += fixed;
  for (const std::string& block : sub_blocks) {
    bytes.push_back(static_cast<char>(block.size()));
    bytes += block;
  }
  bytes.push_back('\0');
  return bytes;
}

// Every kind of extension, with sub-blocks that hold the bytes of an image separator and a trailer,
// which a walk that lost its place would misread.
std::string AllExtensions() {
  return Extension(0xFF, std::string("\x0b") + "NETSCAPE2.0", {std::string("\x01\x00\x00", 3)}) +
         Extension(0xFE, "", {"made, by; the test", std::string(200, ',')}) +
         Extension(0x01, std::string("\x0c", 1) + std::string(12, '\0'), {";,;,"}) +
         std::string("\x21\xf9\x04\x00\x00\x00\x00\x00", 8);
}

// A GIF89a of 1 x 1 frames, each preceded by the given blocks; the first frame has a local colour
// table.
std::string HandMadeGif(int frames, const std::string& before_each_frame) {
  std::string gif("GIF89a\x01\x00\x01\x00\x80\x00\x00", 13);
  gif += std::string("\xff\x00\x00\x00\x00\xff", 6);  // global table: red, blue
  for (int i = 0; i < frames; ++i) {
    gif += before_each_frame;
    gif += std::string("\x2c\x00\x00\x00\x00\x01\x00\x01\x00", 9);
    if (i == 0) {
      gif += std::string("\x80\x00\xff\x00\x2c\x3b\x2c", 7);  // local table: green, ...
    } else {
      gif += std::string("\x00", 1);
    }
    gif += std::string("\x02\x02\x44\x01\x00", 5);  // code size 2, one pixel of colour 0
  }
  gif += "\x3b";
  return gif;
}

size_t FramesMagickReads(const fs::path& path) {
  MagickWandPtr wand = MakeMagickWand();
  std::string error;
  EXPECT_TRUE(ReadPictureFile(wand.get(), path, &error)) << error;
  return MagickGetNumberImages(wand.get());
}

TEST(ClassifyPictureFile, TellsEveryFormatByItsContent) {
  TempFolder folder;
  struct Case {
    const char* format;
    const char* name;  // extensions deliberately wrong: the content decides
    PictureClass expected;
    int icon;
  } cases[] = {
      {"JPEG", "a.png", PictureClass::kJpeg, 113}, {"PNG", "b.jpg", PictureClass::kPng, 114},
      {"GIF", "c.bmp", PictureClass::kGif, 115},   {"BMP", "d.gif", PictureClass::kBmp, 116},
      {"PSD", "e.tif", PictureClass::kPsd, 117},   {"TIFF", "f.psd", PictureClass::kTiff, 118},
  };
  for (const Case& c : cases) {
    test::WritePicture(folder / c.name, 40, 30, c.format);
    PictureClass result = ClassifyPictureFile(folder / c.name);
    EXPECT_EQ(result, c.expected) << c.format;
    EXPECT_EQ(static_cast<int>(result), c.icon) << c.format;
    EXPECT_EQ(PictureClassName(result), c.format);
    EXPECT_TRUE(IsPictureFormat(result));
  }
}

TEST(ClassifyPictureFile, TiffInBothByteOrders) {
  TempFolder folder;
  for (const char* endian : {"lsb", "msb"}) {
    MagickWandPtr wand = test::MakePicture(20, 10, "TIFF");
    MagickSetOption(wand.get(), "tiff:endian", endian);
    fs::path path = folder / (std::string(endian) + ".tif");
    WriteWand(wand.get(), path);
    EXPECT_EQ(ReadFile(path).substr(0, 2), std::string(endian) == "lsb" ? "II" : "MM");
    EXPECT_EQ(ClassifyPictureFile(path), PictureClass::kTiff) << endian;
  }
}

TEST(ClassifyPictureFile, StillAndAnimatedGifs) {
  TempFolder folder;
  const std::string& still = MagickGif(1);
  const std::string& animated = MagickGif(2);
  ASSERT_EQ(still.substr(0, 6), "GIF89a");
  ASSERT_EQ(animated.substr(0, 6), "GIF89a");
  WriteFile(folder / "still.gif", still);
  WriteFile(folder / "animated.gif", animated);
  EXPECT_EQ(ClassifyPictureFile(folder / "still.gif"), PictureClass::kGif);
  EXPECT_EQ(ClassifyPictureFile(folder / "animated.gif"), PictureClass::kAnimatedGif);
  EXPECT_EQ(static_cast<int>(PictureClass::kAnimatedGif), -1);
  EXPECT_FALSE(IsPictureFormat(PictureClass::kAnimatedGif));
  EXPECT_EQ(PictureClassName(PictureClass::kAnimatedGif), "");
}

TEST(ClassifyPictureFile, Gif87aIsStillWithoutWalkingItsBlocks) {
  TempFolder folder;
  // Two frames, and a body that a block walk would reject: only the version decides.
  const std::string& two_frames = MagickGif(2, "GIF87");
  ASSERT_EQ(two_frames.substr(0, 6), "GIF87a");
  WriteFile(folder / "two.gif", two_frames);
  WriteFile(folder / "short.gif", "GIF87a");
  EXPECT_EQ(ClassifyPictureFile(folder / "two.gif"), PictureClass::kGif);
  EXPECT_EQ(ClassifyPictureFile(folder / "short.gif"), PictureClass::kGif);
}

TEST(ClassifyPictureFile, ExtensionsAndColourTablesAreSkipped) {
  TempFolder folder;
  for (int frames : {1, 2, 3}) {
    fs::path path = folder / ("frames" + std::to_string(frames) + ".gif");
    WriteFile(path, HandMadeGif(frames, AllExtensions()));
    // The crafted file is a sound GIF with that many frames.
    ASSERT_EQ(FramesMagickReads(path), static_cast<size_t>(frames));
    EXPECT_EQ(ClassifyPictureFile(path),
              frames == 1 ? PictureClass::kGif : PictureClass::kAnimatedGif)
        << frames;
  }

  // The extensions put into a one-frame GIF written by ImageMagick.
  std::string gif = MagickGif(1);
  auto packed = static_cast<unsigned char>(gif[10]);
  gif.insert(13 + ((packed & 0x80) ? 3u << ((packed & 7) + 1) : 0u), AllExtensions());
  WriteFile(folder / "magick.gif", gif);
  ASSERT_EQ(FramesMagickReads(folder / "magick.gif"), 1u);
  EXPECT_EQ(ClassifyPictureFile(folder / "magick.gif"), PictureClass::kGif);
}

TEST(ClassifyPictureFile, UnknownLabelSkipsNothing) {
  TempFolder folder;
  // An unknown label followed directly by the image: still one image.
  WriteFile(folder / "bare.gif", HandMadeGif(1, std::string("\x21\x77", 2)));
  EXPECT_EQ(ClassifyPictureFile(folder / "bare.gif"), PictureClass::kGif);
  // An unknown label with data after it: the data's first byte is read as a block, which is none.
  WriteFile(folder / "data.gif", HandMadeGif(1, std::string("\x21\x77\x03xyz\x00", 7)));
  EXPECT_EQ(ClassifyPictureFile(folder / "data.gif"), PictureClass::kUnknown);
}

TEST(ClassifyPictureFile, TruncatedGifsEndAsUnknown) {
  TempFolder folder;
  fs::path path = folder / "cut.gif";
  for (const std::string& full : {HandMadeGif(1, AllExtensions()), MagickGif(1)}) {
    for (size_t cut = 0; cut < full.size(); ++cut) {
      WriteFile(path, full.substr(0, cut));
      // Too short even for the signature, or a walk that meets the end before the trailer.
      EXPECT_EQ(ClassifyPictureFile(path), PictureClass::kUnknown) << "cut at " << cut;
    }
  }
  // An animation stays unknown until its second image separator has been read, then is animated.
  for (const std::string& animated : {HandMadeGif(2, AllExtensions()), MagickGif(2)}) {
    bool seen_animated = false;
    for (size_t cut = 0; cut <= animated.size(); ++cut) {
      WriteFile(path, animated.substr(0, cut));
      PictureClass result = ClassifyPictureFile(path);
      if (seen_animated) {
        EXPECT_EQ(result, PictureClass::kAnimatedGif) << "cut at " << cut;
      } else if (result == PictureClass::kAnimatedGif) {
        seen_animated = true;
        EXPECT_EQ(animated[cut - 1], '\x2c') << "cut at " << cut;
      } else {
        EXPECT_EQ(result, PictureClass::kUnknown) << "cut at " << cut;
      }
    }
    EXPECT_TRUE(seen_animated);
  }
}

TEST(ClassifyPictureFile, TruncatedFilesOfOtherFormatsKeepTheirSignature) {
  TempFolder folder;
  for (const char* format : {"JPEG", "PNG", "BMP", "PSD", "TIFF"}) {
    test::WritePicture(folder / "full", 30, 20, format);
    std::string full = ReadFile(folder / "full");
    PictureClass expected = ClassifyPictureFile(folder / "full");
    for (size_t cut : {size_t{0}, size_t{1}, size_t{2}, size_t{3}, size_t{14}, size_t{15},
                       size_t{100}, full.size() / 2, full.size() - 1}) {
      WriteFile(folder / "cut", full.substr(0, cut));
      EXPECT_EQ(ClassifyPictureFile(folder / "cut"), cut < 2 ? PictureClass::kUnknown : expected)
          << format << " cut at " << cut;
    }
  }
}

TEST(ClassifyPictureFile, HostileGifsEnd) {
  TempFolder folder;
  fs::path path = folder / "hostile.gif";
  auto classify = [&](const std::string& bytes) {
    WriteFile(path, bytes);
    return ClassifyPictureFile(path);
  };
  std::string header("GIF89a\x10\x00\x10\x00", 10);
  // A global colour table of 768 bytes in a file of 13.
  EXPECT_EQ(classify(header + std::string("\x87\x00\x00", 3)), PictureClass::kUnknown);
  // A sub-block longer than what is left.
  EXPECT_EQ(classify(header + std::string("\x00\x00\x00\x21\xfe\xff"
                                          "abc",
                                          9)),
            PictureClass::kUnknown);
  // An image whose local colour table runs past the end.
  EXPECT_EQ(classify(header + std::string("\x00\x00\x00\x2c\0\0\0\0\x10\0\x10\0\x87\x02", 14)),
            PictureClass::kUnknown);
  // A block that is none of extension, image or trailer.
  EXPECT_EQ(classify(header + std::string("\x00\x00\x00\x99", 4)), PictureClass::kUnknown);
  // Half a million unknown extensions and never a trailer: the walk ends at the end of the file.
  std::string endless = header + std::string("\x00\x00\x00", 3);
  for (int i = 0; i < 500000; ++i) endless += std::string("\x21\x00", 2);
  EXPECT_EQ(classify(endless), PictureClass::kUnknown);
  // A trailer right after the header: a GIF with no image is still not animated.
  EXPECT_EQ(classify(header + std::string("\x00\x00\x00\x3b", 4)), PictureClass::kGif);
}

TEST(ClassifyPictureFile, SignaturesAndFailures) {
  TempFolder folder;
  auto classify = [&](const std::string& bytes) {
    WriteFile(folder / "x", bytes);
    return ClassifyPictureFile(folder / "x");
  };
  EXPECT_EQ(classify("BM"), PictureClass::kBmp);
  EXPECT_EQ(classify("8B"), PictureClass::kPsd);
  EXPECT_EQ(classify("II"), PictureClass::kTiff);
  EXPECT_EQ(classify("MM*"), PictureClass::kTiff);
  EXPECT_EQ(classify("\xff\xd8"), PictureClass::kJpeg);
  EXPECT_EQ(classify("\x89\x50"), PictureClass::kPng);
  EXPECT_EQ(classify("B"), PictureClass::kUnknown);
  EXPECT_EQ(classify(""), PictureClass::kUnknown);
  EXPECT_EQ(classify("hello, world"), PictureClass::kUnknown);
  EXPECT_EQ(classify("\xff\xd9"), PictureClass::kUnknown);
  EXPECT_EQ(static_cast<int>(PictureClass::kUnknown), -2);

  EXPECT_EQ(ClassifyPictureFile(folder / "missing.jpg"), PictureClass::kCannotOpen);
  EXPECT_EQ(ClassifyPictureFile(folder.path()), PictureClass::kCannotOpen);
  // A pipe with no writer would block a plain open; it is refused at once.
  ASSERT_EQ(mkfifo((folder / "pipe.gif").c_str(), 0600), 0);
  EXPECT_EQ(ClassifyPictureFile(folder / "pipe.gif"), PictureClass::kCannotOpen);
  EXPECT_EQ(static_cast<int>(PictureClass::kCannotOpen), 0);
}

TEST(ClassifyPictureFile, NamesAreTakenAsTheyAre) {
  TempFolder folder;
  for (const char* name : {"msl:x.gif", "a[1].gif", "100%d.gif", "图片 一.gif"}) {
    WriteFile(folder / name, MagickGif(2));
    EXPECT_EQ(ClassifyPictureFile(folder / name), PictureClass::kAnimatedGif) << name;
  }
}

}  // namespace
}  // namespace brindle
