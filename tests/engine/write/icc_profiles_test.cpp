#include "engine/write/icc_profiles.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/test_support.h"

namespace brindle {
namespace {

namespace fs = std::filesystem;

std::uint32_t BigEndian32(const std::string& bytes, std::size_t offset) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < 4; ++i) {
    value = (value << 8) | static_cast<unsigned char>(bytes[offset + i]);
  }
  return value;
}

fs::path InstalledIccFolder() { return test::DataFolder() / "icc"; }

// The profiles installed in the data folder are what their names say: whole ICC profiles of the
// right colour space.
TEST(IccProfilesTest, InstalledProfilesAreWhatTheirNamesSay) {
  struct Expected {
    const char* name;
    const char* colour_space;
    const char* profile_class;
  };
  for (const Expected& expected :
       {Expected{kSrgbProfileName, "RGB ", "mntr"}, Expected{kAdobeRgbProfileName, "RGB ", "mntr"},
        Expected{"default_cmyk.icc", "CMYK", "prtr"}}) {
    std::string bytes = test::ReadFile(InstalledIccFolder() / expected.name);
    ASSERT_GT(bytes.size(), 128u) << expected.name;
    EXPECT_EQ(BigEndian32(bytes, 0), bytes.size()) << expected.name;
    EXPECT_EQ(bytes.substr(36, 4), "acsp") << expected.name;
    EXPECT_EQ(bytes.substr(12, 4), expected.profile_class) << expected.name;
    EXPECT_EQ(bytes.substr(16, 4), expected.colour_space) << expected.name;
  }
  // The last fallback is the CMYK profile that is installed.
  EXPECT_STREQ(kCmykFallbackProfileNames.back(), "default_cmyk.icc");
}

TEST(IccProfilesTest, RgbProfilesAreReadWhole) {
  IccProfiles profiles;
  EXPECT_TRUE(LoadRgbProfiles(InstalledIccFolder(), profiles).empty());
  EXPECT_EQ(profiles.srgb, test::ReadFile(InstalledIccFolder() / "sRGB.icc"));
  EXPECT_EQ(profiles.adobe_rgb, test::ReadFile(InstalledIccFolder() / "AdobeRGB1998.icc"));
  EXPECT_TRUE(profiles.cmyk.empty());
}

TEST(IccProfilesTest, RgbProfileMessages) {
  test::TempFolder folder;
  IccProfiles profiles{"old srgb", "old adobe", ""};
  EXPECT_EQ(
      LoadRgbProfiles(folder.path(), profiles),
      (std::vector<std::string>{"AdobeRGB1998.icc 文件无法访问。", "sRGB.icc 文件无法访问。"}));
  EXPECT_EQ(profiles.srgb, "old srgb");
  EXPECT_EQ(profiles.adobe_rgb, "old adobe");

  // Files that open but cannot be read in one piece: an empty file, a folder.
  test::WriteFile(folder / "AdobeRGB1998.icc", "");
  fs::create_directory(folder / "sRGB.icc");
  EXPECT_EQ(
      LoadRgbProfiles(folder.path(), profiles),
      (std::vector<std::string>{"加载 AdobeRGB1998.icc 文件出错。", "加载 sRGB.icc 文件出错。"}));
  EXPECT_EQ(profiles.srgb, "old srgb");
}

TEST(IccProfilesTest, ChosenCmykProfileIsReadSilently) {
  IccProfiles profiles;
  CmykProfileLoad load = LoadCmykProfile(InstalledIccFolder(), "default_cmyk.icc", profiles);
  EXPECT_TRUE(load.loaded);
  EXPECT_EQ(load.message, "");
  EXPECT_EQ(load.fallback_name, "");
  EXPECT_EQ(profiles.cmyk, test::ReadFile(InstalledIccFolder() / "default_cmyk.icc"));
}

TEST(IccProfilesTest, MissingCmykProfileFallsBackInListOrder) {
  test::TempFolder folder;
  test::WriteFile(folder / "default_cmyk.icc", "last");
  test::WriteFile(folder / "USWebUncoated.icc", "uncoated");
  test::WriteFile(folder / "CoatedFOGRA39.icc", "fogra");
  IccProfiles profiles;
  CmykProfileLoad load = LoadCmykProfile(folder.path(), "JapanColor2001Coated.icc", profiles);
  EXPECT_TRUE(load.loaded);
  EXPECT_EQ(load.message,
            "加载ICC色彩特性文件 '" + (folder / "JapanColor2001Coated.icc").string() + "' 出错。");
  EXPECT_EQ(load.fallback_name, "CoatedFOGRA39.icc");
  EXPECT_EQ(profiles.cmyk, "fogra");

  // On a fresh machine only the installed profile is there.
  IccProfiles fresh;
  load = LoadCmykProfile(InstalledIccFolder(), "JapanColor2001Coated.icc", fresh);
  EXPECT_TRUE(load.loaded);
  EXPECT_EQ(load.fallback_name, "default_cmyk.icc");
  EXPECT_FALSE(load.message.empty());
}

TEST(IccProfilesTest, NoCmykProfileKeepsThePreviousOne) {
  test::TempFolder folder;
  IccProfiles profiles{"", "", "previous"};
  CmykProfileLoad load = LoadCmykProfile(folder.path(), "USWebCoatedSWOP.icc", profiles);
  EXPECT_FALSE(load.loaded);
  EXPECT_EQ(load.message,
            "加载ICC色彩特性文件 '" + (folder / "USWebCoatedSWOP.icc").string() + "' 出错。");
  EXPECT_EQ(load.fallback_name, "");
  EXPECT_EQ(profiles.cmyk, "previous");
}

}  // namespace
}  // namespace brindle
