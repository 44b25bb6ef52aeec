#include "engine/watermark/text_font.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/test_support.h"

namespace brindle {
namespace {

namespace fs = std::filesystem;

FontFace Face(const std::string& type_name, int weight, bool italic) {
  FontFace face;
  face.type_name = type_name;
  face.weight = weight;
  face.italic = italic;
  return face;
}

std::string Selected(const std::vector<FontFace>& faces, bool bold, bool italic) {
  const FontFace* face = SelectFontFace(faces, bold, italic);
  return face ? face->type_name : "(none)";
}

using test::MachineCatalogue;

// ---------------------------------------------------------------------------------------------
// Choosing the face

TEST(SelectFontFace, AnExactMatchIsTakenWhereverItIsListed) {
  const std::vector<FontFace> family = {Face("Regular", 400, false), Face("Bold", 700, false),
                                        Face("Italic", 400, true), Face("BoldItalic", 700, true)};
  EXPECT_EQ(Selected(family, true, true), "BoldItalic");
  EXPECT_EQ(Selected(family, false, false), "Regular");
  EXPECT_EQ(Selected(family, true, false), "Bold");
  EXPECT_EQ(Selected(family, false, true), "Italic");
  // 500 is bold already; 400 is not.
  EXPECT_EQ(Selected({Face("Book", 400, false), Face("Medium", 500, false)}, true, false),
            "Medium");
}

TEST(SelectFontFace, GradesWhenNoFaceMatchesExactly) {
  // Bold wished: the italic face matches neither wish, the regular one the unset italic wish.
  EXPECT_EQ(Selected({Face("Italic", 400, true), Face("Regular", 400, false)}, true, false),
            "Regular");
  // Bold and italic wished: a later bold upright face replaces an earlier one (grade 50).
  EXPECT_EQ(
      Selected({Face("Regular", 400, false), Face("Bold", 700, false), Face("Black", 900, false)},
               true, true),
      "Black");
  // Italic wished: the bold italic face (grade 50) beats the regular one (grade 1) listed first.
  EXPECT_EQ(Selected({Face("Regular", 400, false), Face("BoldItalic", 700, true)}, false, true),
            "BoldItalic");
  // Grade 1 goes to the first such face only.
  EXPECT_EQ(Selected({Face("Bold", 700, false), Face("Black", 900, false)}, false, false), "Bold");
  // Nothing graded: the first face.
  EXPECT_EQ(Selected({Face("A", 700, true), Face("B", 700, true)}, false, false), "A");
  // One face is taken whatever the wish; none without faces.
  EXPECT_EQ(Selected({Face("Only", 700, true)}, false, false), "Only");
  EXPECT_EQ(Selected({}, false, false), "(none)");
}

TEST(SelectFontFace, BoldItalicOfAFourFaceFamilyOnThisMachine) {
  const FontFace* face = SelectFontFace(MachineCatalogue(), "DejaVu Serif", true, true);
  ASSERT_NE(face, nullptr);
  EXPECT_EQ(face->type_name, "DejaVu-Serif-Bold-Italic");
  face = SelectFontFace(MachineCatalogue(), "DejaVu Sans", true, true);
  ASSERT_NE(face, nullptr);
  EXPECT_EQ(face->type_name, "DejaVu-Sans-Bold-Oblique");
  EXPECT_EQ(SelectFontFace(MachineCatalogue(), "No Such Face", false, false), nullptr);
}

// ---------------------------------------------------------------------------------------------
// Sizes

TEST(FontPixelSize, TruncatedAtTheScreenResolution) {
  EXPECT_EQ(FontPixelSize(96, 26), 34);  // 34.67
  EXPECT_EQ(FontPixelSize(96, 72), 96);
  EXPECT_EQ(FontPixelSize(120, 10), 16);  // 16.67
  EXPECT_EQ(FontPixelSize(72, 13), 13);
}

// ---------------------------------------------------------------------------------------------
// Font checks

TEST(FontSupportsText, LatinFacesShowPlainTextButNotChinese) {
  EXPECT_TRUE(FontSupportsText(MachineCatalogue(), "DejaVu Sans", false));
  EXPECT_FALSE(FontSupportsText(MachineCatalogue(), "DejaVu Sans", true));
  EXPECT_FALSE(FontSupportsText(MachineCatalogue(), "No Such Face", false));
  EXPECT_FALSE(FontSupportsText(MachineCatalogue(), "No Such Face", true));
}

TEST(FontSupportsText, ChineseFacesAndTheSongDefault) {
  EXPECT_TRUE(FontSupportsText(MachineCatalogue(), "文泉驿微米黑", true));
  EXPECT_TRUE(FontSupportsText(MachineCatalogue(), "AR PL UMing CN", true));
  EXPECT_TRUE(FontSupportsText(MachineCatalogue(), "宋体", true));
  EXPECT_TRUE(FontSupportsText(MachineCatalogue(), "宋体", false));
}

TEST(FontSupportsText, HandMappedFilesAreMeasuredNotListed) {
  test::EnsureMagick();
  test::TempFolder folder;
  const fs::path latin = folder / "latin.ttf";
  const fs::path chinese = folder / "chinese.ttc";
  fs::copy_file("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", latin);
  fs::copy_file("/usr/share/fonts/truetype/wqy/wqy-microhei.ttc", chinese);
  FontCatalogue catalogue =
      LoadFontCatalogue({{"拉丁", latin.string()}, {"中文", chinese.string()}});
  ASSERT_FALSE(catalogue.cjk_faces().empty());
  EXPECT_TRUE(FontSupportsText(catalogue, "拉丁", false));
  // Not in the CJK list, but a mapped file: the glyph of 中 decides.
  EXPECT_FALSE(FontSupportsText(catalogue, "拉丁", true));
  EXPECT_TRUE(FontSupportsText(catalogue, "中文", true));
}

TEST(FontSupportsText, WithoutCjkFacesOnlyTheGlyphsDecide) {
  test::EnsureMagick();
  FontCatalogue catalogue;
  FontFace hei;
  hei.type_name = "WenQuanYi-Micro-Hei";
  hei.family = "WenQuanYi Micro Hei";
  hei.glyph_file = "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc";
  catalogue.AddFace("Hei", hei);
  FontFace sans;
  sans.type_name = "DejaVu-Sans";
  sans.family = "DejaVu Sans";
  sans.glyph_file = test::DejaVuFontFile("DejaVuSans.ttf");
  catalogue.AddFace("Sans", sans);
  EXPECT_TRUE(FontSupportsText(catalogue, "Hei", true));
  EXPECT_FALSE(FontSupportsText(catalogue, "Sans", true));
  // With a CJK list that does not name it, the same face is refused before it is measured.
  catalogue.AddCjkFace("Other");
  EXPECT_FALSE(FontSupportsText(catalogue, "Hei", true));
}

TEST(NeedsChineseFace, AnyNonAsciiCharacter) {
  EXPECT_FALSE(NeedsChineseFace("Brindle 2026 ~!@#"));
  EXPECT_TRUE(NeedsChineseFace("水印"));
  EXPECT_TRUE(NeedsChineseFace("café"));
  EXPECT_FALSE(NeedsChineseFace(""));
}

}  // namespace
}  // namespace brindle
