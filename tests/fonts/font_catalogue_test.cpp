#include "fonts/font_catalogue.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/test_support.h"

namespace brindle {
namespace {

namespace fs = std::filesystem;
using test::TempFolder;

FontFace FaceOf(const std::string& type_name) {
  FontFace face;
  face.type_name = type_name;
  return face;
}

InstalledFont Installed(const std::string& file, std::vector<FamilyName> families, int weight = 400,
                        bool italic = false, int index = 0) {
  InstalledFont font;
  font.file = file;
  font.index = index;
  font.families = std::move(families);
  font.weight = weight;
  font.italic = italic;
  return font;
}

MagickFontEntry Magick(const std::string& name, const std::string& family,
                       const std::string& glyph_file, int weight = 400, bool italic = false) {
  MagickFontEntry entry;
  entry.name = name;
  entry.family = family;
  entry.glyph_file = glyph_file;
  entry.weight = weight;
  entry.italic = italic;
  return entry;
}

std::vector<std::string> TypeNames(const FontCatalogue& catalogue, const std::string& face_name) {
  std::vector<std::string> names;
  if (const std::vector<FontFace>* faces = catalogue.Find(face_name)) {
    for (const FontFace& face : *faces) names.push_back(face.type_name);
  }
  return names;
}

// ---------------------------------------------------------------------------------------------
// Face names of installed fonts

TEST(InstalledFaceName, ChineseNameFirstAndTheFontsOwnFamilyName) {
  EXPECT_EQ(InstalledFaceName(Installed("/f/wqy.ttc", {{"WenQuanYi Micro Hei", "en"},
                                                       {"文泉驛微米黑", "zh-tw"},
                                                       {"文泉驿微米黑", "zh-cn"}})),
            "文泉驿微米黑");
  EXPECT_EQ(InstalledFaceName(Installed("/f/a.ttf", {{"A", "en"}, {"甲", "zh-tw"}})), "甲");
  // The typographic family comes first; the last name of a language is the font's own family.
  EXPECT_EQ(InstalledFaceName(
                Installed("/f/c.ttf", {{"DejaVu Sans", "en"}, {"DejaVu Sans Condensed", "en"}})),
            "DejaVu Sans Condensed");
  EXPECT_EQ(InstalledFaceName(Installed("/f/d.ttf", {{"Schrift", "de"}, {"Andere", "fr"}})),
            "Schrift");
  EXPECT_EQ(InstalledFaceName(Installed("/f/e.ttf", {})), "");
  // Cut to 127 GBK bytes at a character boundary: 64 Chinese characters take 128.
  std::string long_name;
  for (int i = 0; i < 64; ++i) long_name += "字";
  std::string cut = InstalledFaceName(Installed("/f/g.ttf", {{long_name, "zh-cn"}}));
  EXPECT_EQ(cut, long_name.substr(0, 63 * 3));
}

// ---------------------------------------------------------------------------------------------
// Building

TEST(BuildFontCatalogue, ImageMagickFontsUnderTheirInstalledFilesFaceName) {
  std::vector<InstalledFont> installed = {
      Installed("/f/Sans.ttf", {{"Sans", "en"}}),
      Installed("/f/Sans-Bold.ttf", {{"Sans", "en"}}, 700),
      Installed("/f/Sans-Oblique.ttf", {{"Sans", "en"}}, 400, true),
      Installed("/f/Hei.ttf", {{"Hei", "en"}, {"黑体", "zh-cn"}}),
      Installed("/f/NotListed.ttf", {{"Quiet", "en"}}),
  };
  std::vector<MagickFontEntry> magick = {
      Magick("Sans", "Sans", "/f/Sans.ttf"),
      Magick("Sans-Bold", "Sans", "/f/Sans-Bold.ttf", 700),
      // ImageMagick calls this style oblique, not italic; the installed file says italic.
      Magick("Sans-Oblique", "Sans", "/f/Sans-Oblique.ttf"),
      Magick("Hei", "Hei", "/f/Hei.ttf"),
      Magick("Elsewhere", "Elsewhere", "/opt/Elsewhere.ttf"),
      Magick("Broken?", "Sans", "/f/Sans.ttf"),
      Magick("Sans-Again", "Sa?ns", "/f/Sans.ttf"),
  };
  MagickFontEntry nameless = Magick("", "Sans", "/f/Sans.ttf");
  nameless.name.reset();
  magick.push_back(nameless);
  MagickFontEntry familyless = Magick("Sans-X", "", "/f/Sans.ttf");
  familyless.family.reset();
  magick.push_back(familyless);

  FontCatalogue catalogue = BuildFontCatalogue(installed, magick, {});
  EXPECT_EQ(TypeNames(catalogue, "Sans"),
            (std::vector<std::string>{"Sans", "Sans-Bold", "Sans-Oblique"}));
  const std::vector<FontFace>& sans = *catalogue.Find("Sans");
  EXPECT_EQ(sans[1].weight, 700);
  EXPECT_EQ(sans[1].family, "Sans");
  EXPECT_EQ(sans[1].glyph_file, "/f/Sans-Bold.ttf");
  EXPECT_FALSE(sans[1].italic);
  EXPECT_TRUE(sans[2].italic);
  EXPECT_EQ(TypeNames(catalogue, "黑体"), std::vector<std::string>{"Hei"});
  EXPECT_FALSE(catalogue.Contains("Hei"));
  // Installed but not known to ImageMagick, or known but not installed: neither offered.
  EXPECT_FALSE(catalogue.Contains("Quiet"));
  EXPECT_FALSE(catalogue.Contains("Elsewhere"));
  EXPECT_EQ(catalogue.face_names(), (std::vector<std::string>{"Sans", "黑体"}));
}

TEST(BuildFontCatalogue, CollectionFacesMatchedByFamily) {
  std::vector<InstalledFont> installed = {
      Installed("/f/ming.ttc", {{"Ming CN", "en"}}, 300, false, 0),
      Installed("/f/ming.ttc", {{"Ming TW", "en"}, {"明體", "zh-tw"}}, 300, false, 1),
  };
  std::vector<MagickFontEntry> magick = {
      Magick("Ming-TW", "Ming TW", "/f/ming.ttc", 300),
      Magick("Ming-CN", "Ming CN", "/f/ming.ttc", 300),
      Magick("Ming-HK", "Ming HK", "/f/ming.ttc", 300),  // no face of that family: the first face
  };
  FontCatalogue catalogue = BuildFontCatalogue(installed, magick, {});
  EXPECT_EQ(TypeNames(catalogue, "明體"), std::vector<std::string>{"Ming-TW"});
  EXPECT_EQ(TypeNames(catalogue, "Ming CN"), (std::vector<std::string>{"Ming-CN", "Ming-HK"}));
}

TEST(BuildFontCatalogue, CjkFacesBySimplifiedJapaneseTraditionalEachOnce) {
  InstalledFont tw = Installed("/f/tw.ttf", {{"TW", "en"}});
  tw.covers_traditional_chinese = true;
  InstalledFont ja = Installed("/f/ja.ttf", {{"JA", "en"}});
  ja.covers_japanese = true;
  InstalledFont all = Installed("/f/all.ttc", {{"All", "en"}});
  all.covers_simplified_chinese = all.covers_japanese = all.covers_traditional_chinese = true;
  InstalledFont cn = Installed("/f/cn.otf", {{"CN", "en"}});
  cn.covers_simplified_chinese = true;
  InstalledFont bitmap = Installed("/f/bitmap.pcf", {{"Bitmap", "en"}});
  bitmap.covers_simplified_chinese = true;
  FontCatalogue catalogue = BuildFontCatalogue({tw, ja, all, cn, bitmap}, {}, {});
  EXPECT_EQ(catalogue.cjk_faces(), (std::vector<std::string>{"All", "CN", "JA", "TW"}));
  EXPECT_TRUE(catalogue.IsCjkFace("CN"));
  EXPECT_FALSE(catalogue.IsCjkFace("Bitmap"));
}

TEST(BuildFontCatalogue, WithoutInstalledFontFilesImageMagickFontsGoByDescription) {
  std::vector<InstalledFont> installed = {Installed("/f/type1.pfb", {{"Type One", "en"}})};
  MagickFontEntry described = Magick("Helvetica-Narrow", "Helvetica", "/f/n.pfb");
  described.description = "Helvetica Narrow";
  MagickFontEntry undescribed = Magick("Courier", "Courier", "/f/c.pfb");
  FontCatalogue catalogue = BuildFontCatalogue(installed, {described, undescribed}, {});
  EXPECT_EQ(catalogue.face_names(), std::vector<std::string>{"Helvetica Narrow"});
  EXPECT_EQ(TypeNames(catalogue, "Helvetica Narrow"), std::vector<std::string>{"Helvetica-Narrow"});
  EXPECT_TRUE(catalogue.cjk_faces().empty());
}

TEST(BuildFontCatalogue, MappingsOnlyForFreeNamesAndExistingFiles) {
  TempFolder folder;
  test::WriteFile(folder / "mine.ttf", "not really a font");
  const std::string mine = (folder / "mine.ttf").string();
  std::vector<InstalledFont> installed = {Installed("/f/Sans.ttf", {{"Sans", "en"}})};
  std::vector<MagickFontEntry> magick = {Magick("Sans", "Sans", "/f/Sans.ttf")};
  FontCatalogue catalogue = BuildFontCatalogue(
      installed, magick,
      {{"Sans", mine}, {"Gone", (folder / "gone.ttf").string()}, {"Mine", mine}, {"Mine", "/x"}});
  EXPECT_EQ(TypeNames(catalogue, "Sans"), std::vector<std::string>{"Sans"});
  EXPECT_FALSE(catalogue.Contains("Gone"));
  ASSERT_TRUE(catalogue.Contains("Mine"));
  const FontFace& face = catalogue.Find("Mine")->front();
  EXPECT_EQ(face.type_name, mine);
  EXPECT_EQ(face.glyph_file, mine);
  EXPECT_EQ(face.family, "");
  EXPECT_EQ(face.weight, 400);
  EXPECT_FALSE(face.italic);
  EXPECT_TRUE(IsFontFileTypeName(face.type_name));
  EXPECT_FALSE(IsFontFileTypeName("DejaVu-Sans"));
  EXPECT_TRUE(IsFontFileTypeName("C:\\Fonts\\a.ttf"));
  EXPECT_EQ(catalogue.face_names(), (std::vector<std::string>{"Mine", "Sans"}));
}

// ---------------------------------------------------------------------------------------------
// Names: order, font box, adding and removing

TEST(FaceNames, SortedCaseInsensitivelyWithChineseInGbkOrder) {
  // 黑 (hei) comes before 宋 (song) in GBK, the other way round in Unicode.
  EXPECT_TRUE(FaceNameLess("黑体", "宋体"));
  EXPECT_FALSE(FaceNameLess("宋体", "黑体"));
  EXPECT_TRUE(FaceNameLess("arial", "Book"));
  EXPECT_TRUE(FaceNameLess("Arial", "arial black"));
  EXPECT_FALSE(FaceNameLess("ARIAL", "arial"));
  EXPECT_FALSE(FaceNameLess("arial", "ARIAL"));
  // Letters are compared lowered: '_' lies between the upper- and the lower-case letters.
  EXPECT_TRUE(FaceNameLess("a_b", "AB"));
  EXPECT_FALSE(FaceNameLess("AB", "a_b"));
}

TEST(FaceNames, FontBoxOffersChineseNamesFirst) {
  EXPECT_EQ(FontBoxOrder({"Arial", "DejaVu Sans", "黑体", "宋体", "Zed"}),
            (std::vector<std::string>{"黑体", "宋体", "Arial", "DejaVu Sans", "Zed"}));
}

TEST(FaceNames, AddingAndRemovingKeepEveryNameOnce) {
  FontCatalogue catalogue;
  catalogue.AddFace("B", FaceOf("b1"));
  catalogue.AddFace("a", FaceOf("a1"));
  catalogue.AddFace("B", FaceOf("b2"));
  EXPECT_EQ(catalogue.face_names(), (std::vector<std::string>{"B", "a"}));
  EXPECT_EQ(TypeNames(catalogue, "B"), (std::vector<std::string>{"b1", "b2"}));
  catalogue.SortFaceNames();
  EXPECT_EQ(catalogue.face_names(), (std::vector<std::string>{"a", "B"}));
  catalogue.Remove("B");
  catalogue.Remove("unknown");
  EXPECT_FALSE(catalogue.Contains("B"));
  EXPECT_EQ(catalogue.face_names(), std::vector<std::string>{"a"});
  EXPECT_FALSE(catalogue.Contains("A"));  // names are exact
}

// ---------------------------------------------------------------------------------------------
// This machine's catalogue (fonts of scripts/install-deps.sh)

TEST(LoadFontCatalogue, FontsOfThisMachine) {
  test::EnsureMagick();
  FontCatalogue catalogue = LoadFontCatalogue({});

  // The four-face family: its condensed and light siblings have names of their own.
  ASSERT_TRUE(catalogue.Contains("DejaVu Sans"));
  EXPECT_EQ(TypeNames(catalogue, "DejaVu Sans"),
            (std::vector<std::string>{"DejaVu-Sans", "DejaVu-Sans-Bold", "DejaVu-Sans-Bold-Oblique",
                                      "DejaVu-Sans-Oblique"}));
  EXPECT_TRUE(catalogue.Find("DejaVu Sans")->at(2).italic);  // oblique counts as italic
  EXPECT_TRUE(catalogue.Contains("DejaVu Sans Condensed"));

  ASSERT_TRUE(catalogue.Contains("文泉驿微米黑"));
  EXPECT_EQ(TypeNames(catalogue, "文泉驿微米黑"), std::vector<std::string>{"WenQuanYi-Micro-Hei"});
  EXPECT_FALSE(catalogue.Contains("WenQuanYi Micro Hei"));
  ASSERT_TRUE(catalogue.Contains("AR PL UMing CN"));

  // Installed, Chinese, but not in ImageMagick's list: a CJK face that is not offered.
  EXPECT_TRUE(catalogue.IsCjkFace("文泉驿等宽微米黑"));
  EXPECT_FALSE(catalogue.Contains("文泉驿等宽微米黑"));
  EXPECT_TRUE(catalogue.IsCjkFace("文泉驿微米黑"));
  EXPECT_TRUE(catalogue.IsCjkFace("AR PL UMing CN"));
  EXPECT_FALSE(catalogue.IsCjkFace("DejaVu Sans"));

  // The default recipe's face draws with the Song (Ming) font.
  ASSERT_TRUE(catalogue.Contains("宋体"));
  EXPECT_EQ(fs::path(catalogue.Find("宋体")->front().type_name).filename(), "uming.ttc");

  std::vector<std::string> box = FontBoxOrder(catalogue.face_names());
  EXPECT_EQ(box.front(), "宋体");
  EXPECT_EQ(box[1], "文泉驿微米黑");
  EXPECT_EQ(box.size(), catalogue.face_names().size());
}

}  // namespace
}  // namespace brindle
