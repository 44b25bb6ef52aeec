#include "platform/magick/magick_environment.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <utility>

#include "platform/magick/magick_wand.h"
#include "support/test_support.h"

namespace brindle {
namespace {

using test::EnsureMagick;
using test::TempFolder;

TEST(MagickEnvironment, SelfTestPassesWithTheProgramsPolicy) {
  EnsureMagick();
  std::string reason;
  EXPECT_TRUE(RunMagickSelfTest(&reason)) << reason;
  EXPECT_EQ(MagickGetResourceLimit(MemoryResource), kMagickMemoryLimit);
}

TEST(MagickEnvironment, PolicyAllowsA65500PixelSide) {
  EnsureMagick();
  TempFolder folder;
  MagickWandPtr wand = MakeMagickWand();
  PixelWandPtr white = MakePixelWand("white");
  ASSERT_EQ(MagickNewImage(wand.get(), 100, 65500, white.get()), MagickTrue);
  ASSERT_EQ(MagickSetImageFormat(wand.get(), "JPEG"), MagickTrue);
  std::string error;
  ASSERT_TRUE(WritePictureFile(wand.get(), folder / "tall.jpg", &error)) << error;

  MagickWandPtr back = MakeMagickWand();
  ASSERT_TRUE(ReadPictureFile(back.get(), folder / "tall.jpg", &error)) << error;
  EXPECT_EQ(MagickGetImageWidth(back.get()), 100u);
  EXPECT_EQ(MagickGetImageHeight(back.get()), 65500u);
}

TEST(MagickEnvironment, PolicyRefusesScriptsAndFileLists) {
  EnsureMagick();
  TempFolder folder;
  test::WriteFile(folder / "draw.mvg", "viewbox 0 0 10 10\nfill red\nrectangle 0,0 5,5\n");
  test::WriteFile(folder / "script.msl",
                  "<?xml version=\"1.0\"?><image><read filename=\"logo:\"/></image>\n");
  test::WritePicture(folder / "a.png", 8, 8, "PNG");
  test::WriteFile(folder / "list.txt", (folder / "a.png").string() + "\n");

  const std::pair<const char*, std::filesystem::path> names[] = {{"mvg:", folder / "draw.mvg"},
                                                    {"msl:", folder / "script.msl"},
                                                    {"@", folder / "list.txt"},
                                                    {"text:", "/etc/hostname"},
                                                    {"https:", "//example.invalid/x.png"}};
  for (const auto& [prefix, path] : names) {
    const std::string name = std::string(prefix).append(path.string());
    MagickWandPtr wand = MakeMagickWand();
    EXPECT_EQ(MagickReadImage(wand.get(), name.c_str()), MagickFalse) << name;
  }

  // Content that sniffs as a script is refused even when it arrives as a picture file.
  MagickWandPtr wand = MakeMagickWand();
  std::string error;
  EXPECT_FALSE(ReadPictureFile(wand.get(), folder / "draw.mvg", &error));
}

TEST(MagickEnvironment, NamesAreNeverInterpretedWhenReadingAndWriting) {
  EnsureMagick();
  TempFolder folder;
  for (std::string name : {"100%d.png", "a[0].png", "msl:x.png", "@list.png"}) {
    MagickWandPtr wand = test::MakePicture(12, 10, "PNG");
    std::string error;
    ASSERT_TRUE(WritePictureFile(wand.get(), folder / name, &error)) << name << error;
    ASSERT_TRUE(std::filesystem::exists(folder / name)) << name;
    MagickWandPtr back = MakeMagickWand();
    ASSERT_TRUE(ReadPictureFile(back.get(), folder / name, &error)) << name << error;
    EXPECT_EQ(MagickGetImageWidth(back.get()), 12u);
  }
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()),
                          std::filesystem::directory_iterator()),
            4);
}

}  // namespace
}  // namespace brindle
