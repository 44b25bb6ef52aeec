#pragma once
// What the end-to-end tests of brindle-cli batch share: the program run with the user's folders
// pointed into the test's own folder, and reading back what it wrote.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/magick/magick_wand.h"
#include "support/test_support.h"

namespace brindle::batch_test {

namespace fs = std::filesystem;
using test::CommandResult;
using test::FilesIn;
using test::TempFolder;

// A written picture as ImageMagick reads it back.
struct ReadBack {
  bool readable = false;
  std::string format;
  size_t width = 0;
  size_t height = 0;
  size_t quality = 0;
  OrientationType orientation = UndefinedOrientation;
  MagickWandPtr wand;
};

inline ReadBack Read(const fs::path& path) {
  test::EnsureMagick();
  ReadBack result;
  result.wand = MakeMagickWand();
  if (!ReadPictureFile(result.wand.get(), path, nullptr)) return result;
  MagickTextPtr format(MagickGetImageFormat(result.wand.get()));
  result.readable = true;
  result.format = format ? format.get() : "";
  result.width = MagickGetImageWidth(result.wand.get());
  result.height = MagickGetImageHeight(result.wand.get());
  result.quality = MagickGetImageCompressionQuality(result.wand.get());
  result.orientation = MagickGetImageOrientation(result.wand.get());
  return result;
}

inline std::string SizeOf(const fs::path& path) {
  ReadBack picture = Read(path);
  if (!picture.readable) return "unreadable";
  return std::to_string(picture.width) + "x" + std::to_string(picture.height);
}

// Red, green and blue of one pixel, 0 to 255.
inline std::vector<int> PixelAt(MagickWand* wand, long x, long y) {
  PixelWandPtr pixel = MakePixelWand();
  MagickGetImagePixelColor(wand, x, y, pixel.get());
  return {static_cast<int>(PixelGetRed(pixel.get()) * 255 + 0.5),
          static_cast<int>(PixelGetGreen(pixel.get()) * 255 + 0.5),
          static_cast<int>(PixelGetBlue(pixel.get()) * 255 + 0.5)};
}

// Red, green and blue averaged over the 5 × 5 pixels around (x, y): the test pictures carry noise,
// so one pixel alone may stray far from its colour.
inline std::vector<int> ColourAround(MagickWand* wand, long x, long y) {
  std::vector<int> sum(3, 0);
  for (long dy = -2; dy <= 2; ++dy) {
    for (long dx = -2; dx <= 2; ++dx) {
      std::vector<int> pixel = PixelAt(wand, x + dx, y + dy);
      for (int c = 0; c < 3; ++c) sum[c] += pixel[c];
    }
  }
  for (int& channel : sum) channel /= 25;
  return sum;
}

// A whole JPEG stream ends with the end-of-picture marker.
inline bool EndsLikeAJpeg(const std::string& bytes) {
  return bytes.size() > 4 && bytes.compare(0, 3, "\xFF\xD8\xFF") == 0 &&
         bytes.compare(bytes.size() - 2, 2, "\xFF\xD9") == 0;
}

// A JPEG stored at the given quality; with an orientation other than 1 it carries an Exif block
// that says how it is to be shown.
inline void WriteJpeg(const fs::path& path, size_t width, size_t height, size_t quality,
                      int orientation = 1) {
  MagickWandPtr wand = test::MakePicture(width, height, "JPEG");
  MagickSetImageCompressionQuality(wand.get(), quality);
  if (orientation != 1) {
    std::string exif = test::ExifWithOrientation(orientation);
    MagickSetImageProfile(wand.get(), "exif", exif.data(), exif.size());
    // The writer stores the picture's orientation into the Exif block.
    MagickSetImageOrientation(wand.get(), static_cast<OrientationType>(orientation));
  }
  std::string error;
  ASSERT_TRUE(WritePictureFile(wand.get(), path, &error)) << error;
}

// A file that starts like a PNG but cannot be decoded.
inline void WriteBrokenPng(const fs::path& path) {
  test::WriteFile(path, std::string("\x89PNG\r\n\x1a\n", 8) + std::string(300, '\x5a'));
}

// Copies of one picture, "p01.png" to "p<count>.png".
inline std::vector<fs::path> ManyPictures(const fs::path& folder, int count, size_t width,
                                          size_t height) {
  fs::create_directories(folder);
  fs::path first = folder / "p01.png";
  test::WritePicture(first, width, height, "PNG");
  std::vector<fs::path> paths{first};
  for (int i = 2; i <= count; ++i) {
    char name[16];
    std::snprintf(name, sizeof name, "p%02d.png", i);
    fs::copy_file(first, folder / name);
    paths.push_back(folder / name);
  }
  return paths;
}

inline std::vector<std::string> FoldersIn(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    if (entry.is_directory()) names.push_back(fs::relative(entry.path(), folder).string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

inline fs::perms PermissionsOf(const fs::path& path) { return fs::status(path).permissions(); }

class BatchCommand : public ::testing::Test {
 protected:
  void SetUp() override { test::EnsureMagick(); }

  // The program never reads or writes the user's settings: its per-user folders stay without
  // files.
  void TearDown() override {
    for (const std::string& name : FilesIn(home_.path())) {
      if (name != kPlantedConfig) ADD_FAILURE() << "written in the user's folders: " << name;
    }
  }

  // The user's folders point into this test's own folder.
  std::vector<std::string> Environment() const {
    return {"XDG_CONFIG_HOME=" + (home_ / "config").string(),
            "XDG_CACHE_HOME=" + (home_ / "cache").string()};
  }

  CommandResult Batch(std::vector<std::string> args) {
    args.insert(args.begin(), "batch");
    return test::RunCli(args, Environment());
  }

  // A fresh folder under the test's folder.
  fs::path Folder(const std::string& name) {
    fs::path folder = work_ / name;
    fs::create_directories(folder);
    return folder;
  }

  fs::path Picture(const fs::path& path, size_t width, size_t height, const char* format) {
    fs::create_directories(path.parent_path());
    test::WritePicture(path, width, height, format);
    return path;
  }

  static constexpr const char* kPlantedConfig = "config/brindle/config.dat";

  TempFolder home_;
  TempFolder work_;
};

}  // namespace brindle::batch_test
