#include "platform/magick/magick_font_list.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "support/test_support.h"

namespace brindle {
namespace {

const MagickFontEntry* Find(const std::vector<MagickFontEntry>& fonts, const std::string& name) {
  auto found = std::find_if(fonts.begin(), fonts.end(),
                            [&](const MagickFontEntry& entry) { return entry.name == name; });
  return found == fonts.end() ? nullptr : &*found;
}

TEST(ListMagickFonts, NamesFamiliesWeightsStylesAndGlyphFiles) {
  test::EnsureMagick();
  std::vector<MagickFontEntry> fonts = ListMagickFonts();

  const MagickFontEntry* bold = Find(fonts, "DejaVu-Sans-Bold");
  ASSERT_NE(bold, nullptr);
  EXPECT_EQ(bold->family, "DejaVu Sans");
  EXPECT_EQ(bold->weight, 700);
  EXPECT_FALSE(bold->italic);
  EXPECT_EQ(std::filesystem::path(bold->glyph_file).filename(), "DejaVuSans-Bold.ttf");

  const MagickFontEntry* italic = Find(fonts, "DejaVu-Serif-Italic");
  ASSERT_NE(italic, nullptr);
  EXPECT_TRUE(italic->italic);
  EXPECT_EQ(italic->weight, 400);

  // An oblique style is not the italic style.
  const MagickFontEntry* oblique = Find(fonts, "DejaVu-Sans-Oblique");
  ASSERT_NE(oblique, nullptr);
  EXPECT_FALSE(oblique->italic);

  const MagickFontEntry* ming = Find(fonts, "AR-PL-UMing-CN");
  ASSERT_NE(ming, nullptr);
  EXPECT_EQ(ming->family, "AR PL UMing CN");
  EXPECT_EQ(std::filesystem::path(ming->glyph_file).filename(), "uming.ttc");
}

}  // namespace
}  // namespace brindle
