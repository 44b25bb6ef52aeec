#include "platform/text/font_config.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

// The fonts scripts/install-deps.sh installs: DejaVu, WenQuanYi Micro Hei and AR PL UMing.

namespace brindle {
namespace {

namespace fs = std::filesystem;

const std::vector<InstalledFont>& Fonts() {
  static const std::vector<InstalledFont> fonts = ListInstalledFonts();
  return fonts;
}

std::vector<const InstalledFont*> FacesOf(const std::string& file_name) {
  std::vector<const InstalledFont*> faces;
  for (const InstalledFont& font : Fonts()) {
    if (font.file.filename() == file_name) faces.push_back(&font);
  }
  return faces;
}

bool HasFamily(const InstalledFont& font, const std::string& name, const std::string& language) {
  return std::any_of(font.families.begin(), font.families.end(), [&](const FamilyName& family) {
    return family.name == name && family.language == language;
  });
}

TEST(ListInstalledFonts, OrderedByFileAndFaceIndex) {
  ASSERT_FALSE(Fonts().empty());
  EXPECT_TRUE(std::is_sorted(Fonts().begin(), Fonts().end(), [](const auto& a, const auto& b) {
    return std::tie(a.file, a.index) < std::tie(b.file, b.index);
  }));
  for (const InstalledFont& font : Fonts()) {
    EXPECT_TRUE(font.file.is_absolute()) << font.file;
    EXPECT_FALSE(font.families.empty()) << font.file;
  }
}

TEST(ListInstalledFonts, WeightAndSlantOnTheOpenTypeScale) {
  std::vector<const InstalledFont*> regular = FacesOf("DejaVuSans.ttf");
  std::vector<const InstalledFont*> bold = FacesOf("DejaVuSans-Bold.ttf");
  std::vector<const InstalledFont*> oblique = FacesOf("DejaVuSans-BoldOblique.ttf");
  ASSERT_EQ(regular.size(), 1u);
  ASSERT_EQ(bold.size(), 1u);
  ASSERT_EQ(oblique.size(), 1u);
  EXPECT_EQ(regular[0]->weight, 400);
  EXPECT_FALSE(regular[0]->italic);
  EXPECT_EQ(bold[0]->weight, 700);
  EXPECT_FALSE(bold[0]->italic);
  EXPECT_EQ(oblique[0]->weight, 700);
  EXPECT_TRUE(oblique[0]->italic);
  EXPECT_TRUE(HasFamily(*regular[0], "DejaVu Sans", "en"));
  EXPECT_FALSE(regular[0]->covers_simplified_chinese);
  EXPECT_FALSE(regular[0]->covers_japanese);
  EXPECT_FALSE(regular[0]->covers_traditional_chinese);
}

TEST(ListInstalledFonts, ChineseFamilyNamesAndCoverage) {
  std::vector<const InstalledFont*> faces = FacesOf("wqy-microhei.ttc");
  ASSERT_EQ(faces.size(), 2u);
  EXPECT_EQ(faces[0]->index, 0);
  EXPECT_EQ(faces[1]->index, 1);
  const InstalledFont& hei = *faces[0];
  EXPECT_TRUE(HasFamily(hei, "WenQuanYi Micro Hei", "en"));
  EXPECT_TRUE(HasFamily(hei, "文泉驿微米黑", "zh-cn"));
  EXPECT_TRUE(HasFamily(hei, "文泉驛微米黑", "zh-tw"));
  EXPECT_TRUE(hei.covers_simplified_chinese);
  EXPECT_TRUE(hei.covers_japanese);
  EXPECT_TRUE(hei.covers_traditional_chinese);

  // One collection file, four faces: the simplified Chinese one covers zh-cn but not Japanese.
  std::vector<const InstalledFont*> ming = FacesOf("uming.ttc");
  ASSERT_EQ(ming.size(), 4u);
  const auto cn = std::find_if(ming.begin(), ming.end(), [](const InstalledFont* font) {
    return HasFamily(*font, "AR PL UMing CN", "en");
  });
  ASSERT_NE(cn, ming.end());
  EXPECT_TRUE((*cn)->covers_simplified_chinese);
  EXPECT_FALSE((*cn)->covers_japanese);
  EXPECT_EQ((*cn)->weight, 300);
}

}  // namespace
}  // namespace brindle
