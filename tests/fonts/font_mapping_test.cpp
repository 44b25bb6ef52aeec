#include "fonts/font_mapping.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "prefs/preferences.h"
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

class FontMappingTest : public ::testing::Test {
 protected:
  std::string MakeFile(const std::string& name) {
    fs::path path = folder_ / name;
    test::WriteFile(path, "font bytes");
    return path.string();
  }

  TempFolder folder_;
  PreferenceStore store_{folder_ / "Brindle.ini"};
};

// ---------------------------------------------------------------------------------------------
// Reading

TEST_F(FontMappingTest, ReadsEveryValueOfTheFontsKey) {
  EXPECT_TRUE(ReadFontMappings(store_).empty());
  ASSERT_TRUE(store_.WriteText(kFontsKey, "方正小标宋", "/fonts/fzxbs.ttf"));
  ASSERT_TRUE(store_.WriteText(kFontsKey, "My Font", "/fonts/my font.otf"));
  ASSERT_TRUE(store_.WriteText("", "not_a_mapping", "/x.ttf"));
  std::vector<FontMapping> mappings = ReadFontMappings(store_);
  ASSERT_EQ(mappings.size(), 2u);
  std::vector<FontMapping> expected = {{"方正小标宋", "/fonts/fzxbs.ttf"},
                                       {"My Font", "/fonts/my font.otf"}};
  EXPECT_TRUE(std::is_permutation(mappings.begin(), mappings.end(), expected.begin()));
}

TEST_F(FontMappingTest, ReadBackNamesAndPathsKeepTheirLimits) {
  const std::string name(200, 'n');
  const std::string path = "/" + std::string(300, 'p');
  ASSERT_TRUE(store_.WriteText(kFontsKey, name, path));
  std::vector<FontMapping> mappings = ReadFontMappings(store_);
  ASSERT_EQ(mappings.size(), 1u);
  EXPECT_EQ(mappings[0].face_name, std::string(127, 'n'));
  EXPECT_EQ(mappings[0].file, path.substr(0, 259));
}

// ---------------------------------------------------------------------------------------------
// The add dialog's rules

TEST_F(FontMappingTest, InputIsCutAndTrimmed) {
  FontMapping mapping = FontMappingFromInput(" \t黑体\r\n", "  /fonts/a.ttf \n");
  EXPECT_EQ(mapping.face_name, "黑体");
  EXPECT_EQ(mapping.file, "/fonts/a.ttf");
  // 127 bytes are read before trimming: 64 Chinese characters keep 63.
  std::string long_name;
  for (int i = 0; i < 64; ++i) long_name += "体";
  EXPECT_EQ(FontMappingFromInput(long_name, "/a").face_name, long_name.substr(0, 63 * 3));
}

TEST_F(FontMappingTest, RulesInOrderWithTheirBoxesAndTexts) {
  FontCatalogue catalogue;
  catalogue.AddFace("宋体", FaceOf("SimSun"));
  const std::string file = MakeFile("a.ttf");

  struct Case {
    FontMapping mapping;
    std::string_view control;
    std::string text;
  };
  const std::vector<Case> cases = {
      {{"", ""}, kMappingNameControl, "字体名称不能为空"},
      {{"", file}, kMappingNameControl, "字体名称不能为空"},
      {{"新字体", ""}, kMappingPathControl, "字体路径不能为空"},
      {{"新字体", (folder_ / "missing.ttf").string()},
       kMappingPathControl,
       "字体路径不存在，请重新选择。"},
      {{"新字体", folder_.path().string()}, kMappingPathControl, "字体路径不存在，请重新选择。"},
      {{"宋体", (folder_ / "missing.ttf").string()},
       kMappingPathControl,
       "字体路径不存在，请重新选择。"},
      {{"宋体", file}, kMappingNameControl, "字体名称已存在，请重新输入"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mapping.face_name + " / " + c.mapping.file);
    std::optional<Refusal> refusal = CheckFontMapping(catalogue, c.mapping);
    ASSERT_TRUE(refusal.has_value());
    EXPECT_EQ(refusal->control, c.control);
    EXPECT_EQ(refusal->hint_title, "提示");
    EXPECT_EQ(refusal->hint_text, c.text);
    EXPECT_EQ(refusal->message, "");
  }
  // The comparison with the catalogue is exact; a path typed by hand may hold Chinese.
  EXPECT_FALSE(CheckFontMapping(catalogue, {"宋体 ", file}).has_value());
  catalogue.AddFace("Sans", FaceOf("Sans"));
  EXPECT_FALSE(CheckFontMapping(catalogue, {"sans", file}).has_value());
  EXPECT_FALSE(CheckFontMapping(catalogue, {"新字体", MakeFile("字体.ttf")}).has_value());
}

// ---------------------------------------------------------------------------------------------
// Adding and deleting

TEST_F(FontMappingTest, AddingStoresAndOffersTheFace) {
  FontCatalogue catalogue;
  catalogue.AddFace("Sans", FaceOf("Sans"));
  const std::string file = MakeFile("b.ttf");
  AddFontMapping(store_, catalogue, {"我的字体", file});

  std::string stored;
  ASSERT_TRUE(store_.ReadText(kFontsKey, "我的字体", stored));
  EXPECT_EQ(stored, file);
  ASSERT_TRUE(catalogue.Contains("我的字体"));
  ASSERT_EQ(catalogue.Find("我的字体")->size(), 1u);
  EXPECT_EQ(catalogue.Find("我的字体")->front().type_name, file);
  EXPECT_EQ(catalogue.face_names(), (std::vector<std::string>{"Sans", "我的字体"}));
  // The next start merges it again.
  FontCatalogue next;
  MergeFontMappings(next, ReadFontMappings(store_));
  EXPECT_TRUE(next.Contains("我的字体"));
}

TEST_F(FontMappingTest, DeletingTwoRemovesBothFromStoreAndCatalogue) {
  FontCatalogue catalogue;
  const FontMapping one{"一", MakeFile("1.ttf")};
  const FontMapping three{"三", MakeFile("3.ttf")};
  AddFontMapping(store_, catalogue, one);
  AddFontMapping(store_, catalogue, {"二", MakeFile("2.ttf")});
  AddFontMapping(store_, catalogue, three);
  EXPECT_TRUE(DeleteFontMapping(store_, catalogue, three));
  EXPECT_TRUE(DeleteFontMapping(store_, catalogue, one));
  EXPECT_EQ(store_.ValueNames(kFontsKey), std::vector<std::string>{"二"});
  EXPECT_EQ(catalogue.face_names(), std::vector<std::string>{"二"});
  EXPECT_FALSE(catalogue.Contains("一"));
  EXPECT_FALSE(catalogue.Contains("三"));
}

TEST_F(FontMappingTest, DeletingLeavesAnInstalledFaceOfTheSameName) {
  // At start the installed face took the name; the mapping stayed in the store only.
  FontCatalogue catalogue;
  catalogue.AddFace("DejaVu Sans", FaceOf("DejaVu-Sans"));
  const FontMapping shadowed{"DejaVu Sans", MakeFile("mine.ttf")};
  ASSERT_TRUE(store_.WriteText(kFontsKey, shadowed.face_name, shadowed.file));
  MergeFontMappings(catalogue, ReadFontMappings(store_));

  EXPECT_FALSE(DeleteFontMapping(store_, catalogue, shadowed));
  EXPECT_TRUE(store_.ValueNames(kFontsKey).empty());
  ASSERT_TRUE(catalogue.Contains("DejaVu Sans"));
  EXPECT_EQ(catalogue.Find("DejaVu Sans")->front().type_name, "DejaVu-Sans");
  EXPECT_EQ(catalogue.face_names(), std::vector<std::string>{"DejaVu Sans"});

  // A name only the mapping gave goes with it.
  const FontMapping own{"我的字体", MakeFile("own.ttf")};
  ASSERT_TRUE(store_.WriteText(kFontsKey, own.face_name, own.file));
  MergeFontMappings(catalogue, ReadFontMappings(store_));
  ASSERT_TRUE(catalogue.Contains("我的字体"));
  EXPECT_TRUE(DeleteFontMapping(store_, catalogue, own));
  EXPECT_FALSE(catalogue.Contains("我的字体"));
  EXPECT_EQ(catalogue.face_names(), std::vector<std::string>{"DejaVu Sans"});
  EXPECT_TRUE(store_.ValueNames(kFontsKey).empty());
}

TEST_F(FontMappingTest, MappingWhoseFileWasDeletedIsListedButNotMerged) {
  const std::string file = MakeFile("gone.ttf");
  ASSERT_TRUE(store_.WriteText(kFontsKey, "Gone", file));
  fs::remove(file);
  std::vector<FontMapping> mappings = ReadFontMappings(store_);
  ASSERT_EQ(mappings.size(), 1u);
  FontCatalogue catalogue;
  MergeFontMappings(catalogue, mappings);
  EXPECT_FALSE(catalogue.Contains("Gone"));
}

// ---------------------------------------------------------------------------------------------
// The Song face on a fresh machine

InstalledFont Face(const std::string& file, const std::string& family, bool simplified) {
  InstalledFont font;
  font.file = file;
  font.families = {{family, "en"}};
  font.covers_simplified_chinese = simplified;
  return font;
}

TEST(DefaultSongFaceMapping, TheFirstSongOrMingFaceForSimplifiedChinese) {
  EXPECT_FALSE(DefaultSongFaceMapping({}).has_value());
  EXPECT_FALSE(DefaultSongFaceMapping({Face("/f/hei.ttf", "WenQuanYi Micro Hei", true),
                                       Face("/f/sans.ttf", "DejaVu Sans", false)})
                   .has_value());
  // Traditional only, or not a font file of the catalogue's kinds: not taken.
  EXPECT_FALSE(DefaultSongFaceMapping({Face("/f/tw.ttf", "AR PL UMing TW", false),
                                       Face("/f/ming.pcf", "AR PL UMing CN", true)})
                   .has_value());

  std::optional<FontMapping> song =
      DefaultSongFaceMapping({Face("/f/hei.ttf", "WenQuanYi Micro Hei", true),
                              Face("/f/uming.ttc", "AR PL UMing CN", true),
                              Face("/f/serif.otf", "Noto Serif CJK SC", true)});
  ASSERT_TRUE(song.has_value());
  EXPECT_EQ(song->face_name, "宋体");
  EXPECT_EQ(song->file, "/f/uming.ttc");

  InstalledFont chinese_named = Face("/f/fz.ttf", "FZ", true);
  chinese_named.families.push_back({"方正书宋", "zh-cn"});
  EXPECT_EQ(DefaultSongFaceMapping({chinese_named})->file, "/f/fz.ttf");
}

TEST(DefaultSongFaceMapping, TheUsersOwnMappingWins) {
  test::EnsureMagick();
  TempFolder folder;
  const fs::path own = folder / "own.ttf";
  fs::copy_file("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", own);
  FontCatalogue catalogue = LoadFontCatalogue({{"宋体", own.string()}});
  ASSERT_TRUE(catalogue.Contains("宋体"));
  ASSERT_EQ(catalogue.Find("宋体")->size(), 1u);
  EXPECT_EQ(catalogue.Find("宋体")->front().type_name, own.string());
}

}  // namespace
}  // namespace brindle
