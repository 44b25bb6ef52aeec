#include "prefs/preference_store.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "prefs/preferences.h"
#include "support/test_support.h"

namespace brindle {
namespace {

using test::TempFolder;

std::vector<std::string> Sorted(std::vector<std::string> names) {
  std::sort(names.begin(), names.end());
  return names;
}

class PreferenceStoreTest : public ::testing::Test {
 protected:
  TempFolder folder_;
  PreferenceStore store_{folder_ / "Brindle.ini"};
};

// ---------------------------------------------------------------------------------------------
// The store

TEST_F(PreferenceStoreTest, NumbersRoundTripAll32Bits) {
  for (std::uint32_t value : {0u, 1u, 2u, 0x7FFFFFFFu, 0x80000000u, 0xFFFFFFFFu, 0xDEADBEEFu}) {
    SCOPED_TRACE(value);
    ASSERT_TRUE(store_.WriteNumber("", "crop_width", value));
    std::uint32_t read = 12345;
    ASSERT_TRUE(store_.ReadNumber("", "crop_width", read));
    EXPECT_EQ(read, value);
  }
  ASSERT_TRUE(store_.WriteNumber("", "show_preview_tip_times", 0xFFFFFFFFu));
  EXPECT_EQ(store_.NumberOr("show_preview_tip_times", 7), -1);
}

TEST_F(PreferenceStoreTest, TextsRoundTripAsWritten) {
  const std::vector<std::string> texts = {
      "/home/用户/图片/2024年 旅行",
      "",
      "  leading and trailing spaces  ",
      "a, b, c",
      "semi;colon = equals \"quoted\" 'single'",
      "back\\slash and [brackets] #hash",
      "@Variant(not really)",
      "12345",
      "水印|版权所有|Brindle",
      "line one\nline two",
  };
  for (const std::string& text : texts) {
    SCOPED_TRACE(text);
    ASSERT_TRUE(store_.WriteText("", "used_sy_text_record", text));
    std::string read = "stale";
    ASSERT_TRUE(store_.ReadText("", "used_sy_text_record", read));
    EXPECT_EQ(read, text);
    EXPECT_EQ(store_.TextOr("used_sy_text_record", "fallback"), text);
  }
}

TEST_F(PreferenceStoreTest, MissingValuesFailAndLeaveTheDestination) {
  std::uint32_t number = 77;
  std::string text = "kept";
  EXPECT_FALSE(store_.ReadNumber("", "proxy_port", number));
  EXPECT_FALSE(store_.ReadText("", "proxy_ip", text));
  EXPECT_FALSE(store_.ReadNumber("Fonts", "proxy_port", number));
  EXPECT_EQ(number, 77u);
  EXPECT_EQ(text, "kept");
  EXPECT_EQ(store_.NumberOr("proxy_port", -9), -9);
  EXPECT_EQ(store_.TextOr("cmyk_default_icc", "JapanColor2001Coated.icc"),
            "JapanColor2001Coated.icc");

  // A value in one key is not found in another.
  ASSERT_TRUE(store_.WriteNumber("", "proxy_port", 8080));
  EXPECT_FALSE(store_.ReadNumber("Fonts", "proxy_port", number));
  EXPECT_EQ(number, 77u);
}

TEST_F(PreferenceStoreTest, TextThatIsNoNumberDoesNotReadAsANumber) {
  ASSERT_TRUE(store_.WriteText("", "proxy_port", "eighty"));
  std::uint32_t number = 5;
  EXPECT_FALSE(store_.ReadNumber("", "proxy_port", number));
  EXPECT_EQ(number, 5u);
}

TEST_F(PreferenceStoreTest, NameWithTrailingSpaceIsItsOwnValue) {
  ASSERT_TRUE(store_.WriteNumber("", "skip_check_load_pic_count ", 1));
  std::uint32_t value = 99;
  EXPECT_FALSE(store_.ReadNumber("", "skip_check_load_pic_count", value));
  EXPECT_EQ(value, 99u);

  ASSERT_TRUE(store_.WriteNumber("", "skip_check_load_pic_count", 0));
  ASSERT_TRUE(store_.ReadNumber("", "skip_check_load_pic_count ", value));
  EXPECT_EQ(value, 1u);
  ASSERT_TRUE(store_.ReadNumber("", "skip_check_load_pic_count", value));
  EXPECT_EQ(value, 0u);
  EXPECT_EQ(Sorted(store_.ValueNames("")),
            (std::vector<std::string>{"skip_check_load_pic_count", "skip_check_load_pic_count "}));
}

TEST_F(PreferenceStoreTest, DeleteRemovesOnlyThatValue) {
  ASSERT_TRUE(store_.WriteText("", "proxy_ip", "10.0.0.1"));
  ASSERT_TRUE(store_.WriteNumber("", "proxy_port", 3128));
  ASSERT_TRUE(store_.WriteText("Fonts", "proxy_ip", "same name in the sub-key"));

  EXPECT_TRUE(store_.DeleteValue("", "proxy_ip"));
  std::string text = "kept";
  EXPECT_FALSE(store_.ReadText("", "proxy_ip", text));
  EXPECT_EQ(text, "kept");
  std::uint32_t port = 0;
  EXPECT_TRUE(store_.ReadNumber("", "proxy_port", port));
  EXPECT_EQ(port, 3128u);
  EXPECT_TRUE(store_.ReadText("Fonts", "proxy_ip", text));
  EXPECT_EQ(text, "same name in the sub-key");

  // Nothing left to remove.
  EXPECT_FALSE(store_.DeleteValue("", "proxy_ip"));
  EXPECT_FALSE(store_.DeleteValue("", "never_written"));
}

TEST_F(PreferenceStoreTest, FontsSubKeyListsItsValueNamesExactly) {
  const std::vector<std::string> faces = {"Microsoft YaHei",     "宋体",     "Arial Bold Italic",
                                          "方正 兰亭 黑",        "A/B Sans", "Back\\Slash",
                                          "Name=With;Odd,Marks", "Trailing "};
  for (const std::string& face : faces) {
    ASSERT_TRUE(store_.WriteText("Fonts", face, "/usr/share/fonts/" + face + ".ttf"));
  }
  ASSERT_TRUE(store_.WriteNumber("", "is_show_thumbnail", 1));

  EXPECT_EQ(Sorted(store_.ValueNames("Fonts")), Sorted(faces));
  EXPECT_EQ(store_.ValueNames(""), std::vector<std::string>{"is_show_thumbnail"});
  for (const std::string& face : faces) {
    std::string file;
    ASSERT_TRUE(store_.ReadText("Fonts", face, file)) << face;
    EXPECT_EQ(file, "/usr/share/fonts/" + face + ".ttf");
  }
  EXPECT_TRUE(store_.ValueNames("NoSuchKey").empty());
}

TEST_F(PreferenceStoreTest, StoresOnTheSameFileSeeEachOthersWrites) {
  PreferenceStore other(store_.file());
  ASSERT_TRUE(store_.WriteNumber("", "use_thread_model", 1));
  std::uint32_t value = 0;
  ASSERT_TRUE(other.ReadNumber("", "use_thread_model", value));
  EXPECT_EQ(value, 1u);

  ASSERT_TRUE(other.WriteNumber("", "use_thread_model", 2));
  ASSERT_TRUE(store_.ReadNumber("", "use_thread_model", value));
  EXPECT_EQ(value, 2u);

  ASSERT_TRUE(other.WriteText("Fonts", "宋体", "/fonts/uming.ttc"));
  EXPECT_EQ(store_.ValueNames("Fonts"), std::vector<std::string>{"宋体"});

  ASSERT_TRUE(store_.DeleteValue("", "use_thread_model"));
  EXPECT_FALSE(other.ReadNumber("", "use_thread_model", value));

  // A store made afterwards finds what was written.
  PreferenceStore later(store_.file());
  std::string file;
  ASSERT_TRUE(later.ReadText("Fonts", "宋体", file));
  EXPECT_EQ(file, "/fonts/uming.ttc");
}

TEST(PreferenceStore, UnwritablePlaceFailsWithoutHarm) {
  TempFolder folder;
  test::WriteFile(folder / "file", "not a folder");
  PreferenceStore store(folder / "file" / "Brindle.ini");
  EXPECT_FALSE(store.WriteNumber("", "pic_save_mode", 1));
  EXPECT_FALSE(store.WriteText("", "save_to_path", "/tmp"));
  std::uint32_t value = 4;
  EXPECT_FALSE(store.ReadNumber("", "pic_save_mode", value));
  EXPECT_EQ(value, 4u);
  EXPECT_EQ(test::ReadFile(folder / "file"), "not a folder");
}

// ---------------------------------------------------------------------------------------------
// Start-up preferences

TEST_F(PreferenceStoreTest, StartupDefaultsOnAnEmptyStore) {
  StartupPreferences p = LoadStartupPreferences(store_);
  EXPECT_EQ(p.skip_check_load_pic_count, 0);
  EXPECT_EQ(p.is_show_thumbnail, 1);
  EXPECT_EQ(p.is_read_file_parse_file_format, 1);
  EXPECT_EQ(p.is_record_save_to_path, 0);
  EXPECT_EQ(p.use_thread_model, 2);
  EXPECT_EQ(p.cmyk_default_icc, "JapanColor2001Coated.icc");
  EXPECT_EQ(p.pic_save_mode, 0);
  EXPECT_EQ(p.pic_save_default_select_overwrite, 0);
  EXPECT_EQ(p.pic_save_select_overwrite_no_alert, 0);
  EXPECT_EQ(p.show_preview_tip_times, 0);
  EXPECT_EQ(p.proxy_type, 0);
  EXPECT_EQ(p.save_to_path, "");

  // Only the skip value is written, as 0, under its name with the trailing space.
  EXPECT_EQ(store_.ValueNames(""), std::vector<std::string>{"skip_check_load_pic_count "});
  std::uint32_t skip = 9;
  ASSERT_TRUE(store_.ReadNumber("", "skip_check_load_pic_count ", skip));
  EXPECT_EQ(skip, 0u);
}

TEST_F(PreferenceStoreTest, StartupKeepsAStoredSkipValue) {
  ASSERT_TRUE(store_.WriteNumber("", "skip_check_load_pic_count ", 1));
  EXPECT_EQ(LoadStartupPreferences(store_).skip_check_load_pic_count, 1);
  std::uint32_t skip = 0;
  ASSERT_TRUE(store_.ReadNumber("", "skip_check_load_pic_count ", skip));
  EXPECT_EQ(skip, 1u);
}

TEST_F(PreferenceStoreTest, StartupThreadModelOtherThanOneOrTwoIsTwo) {
  for (auto [stored, expected] : std::vector<std::pair<std::uint32_t, std::int32_t>>{
           {0, 2}, {1, 1}, {2, 2}, {3, 2}, {0xFFFFFFFF, 2}}) {
    SCOPED_TRACE(stored);
    ASSERT_TRUE(store_.WriteNumber("", "use_thread_model", stored));
    EXPECT_EQ(LoadStartupPreferences(store_).use_thread_model, expected);
  }
}

TEST_F(PreferenceStoreTest, StartupSaveModeAndItsSwitches) {
  for (auto [stored, expected] : std::vector<std::pair<std::uint32_t, std::int32_t>>{
           {0, 0}, {1, 1}, {2, 2}, {3, 0}, {100, 0}, {0xFFFFFFFF, 0}}) {
    SCOPED_TRACE(stored);
    ASSERT_TRUE(store_.WriteNumber("", "pic_save_mode", stored));
    EXPECT_EQ(LoadStartupPreferences(store_).pic_save_mode, expected);
  }

  ASSERT_TRUE(store_.WriteNumber("", "pic_save_default_select_overwrite", 1));
  ASSERT_TRUE(store_.WriteNumber("", "pic_save_select_overwrite_no_alert", 1));
  StartupPreferences p = LoadStartupPreferences(store_);
  EXPECT_EQ(p.pic_save_default_select_overwrite, 1);
  EXPECT_EQ(p.pic_save_select_overwrite_no_alert, 1);

  ASSERT_TRUE(store_.WriteNumber("", "pic_save_default_select_overwrite", 5));
  ASSERT_TRUE(store_.WriteNumber("", "pic_save_select_overwrite_no_alert", 2));
  p = LoadStartupPreferences(store_);
  EXPECT_EQ(p.pic_save_default_select_overwrite, 0);
  EXPECT_EQ(p.pic_save_select_overwrite_no_alert, 0);
}

TEST_F(PreferenceStoreTest, StartupReadsTheOtherValuesAsStored) {
  ASSERT_TRUE(store_.WriteNumber("", "is_show_thumbnail", 0));
  ASSERT_TRUE(store_.WriteNumber("", "is_read_file_parse_file_format", 0));
  ASSERT_TRUE(store_.WriteText("", "cmyk_default_icc", "default_cmyk.icc"));
  ASSERT_TRUE(store_.WriteNumber("", "show_preview_tip_times", 2));
  StartupPreferences p = LoadStartupPreferences(store_);
  EXPECT_EQ(p.is_show_thumbnail, 0);
  EXPECT_EQ(p.is_read_file_parse_file_format, 0);
  EXPECT_EQ(p.cmyk_default_icc, "default_cmyk.icc");
  EXPECT_EQ(p.show_preview_tip_times, 2);

  ASSERT_TRUE(store_.WriteNumber("", "show_preview_tip_times", static_cast<std::uint32_t>(-3)));
  EXPECT_EQ(LoadStartupPreferences(store_).show_preview_tip_times, 0);
}

TEST_F(PreferenceStoreTest, StartupProxyTypeTwoIsResetAndCleared) {
  ASSERT_TRUE(store_.WriteNumber("", "proxy_type", 2));
  ASSERT_TRUE(store_.WriteText("", "proxy_ip", "192.168.1.10"));
  ASSERT_TRUE(store_.WriteNumber("", "proxy_port", 8080));

  EXPECT_EQ(LoadStartupPreferences(store_).proxy_type, 0);
  std::uint32_t number = 99;
  std::string text = "stale";
  ASSERT_TRUE(store_.ReadNumber("", "proxy_type", number));
  EXPECT_EQ(number, 0u);
  ASSERT_TRUE(store_.ReadText("", "proxy_ip", text));
  EXPECT_EQ(text, "");
  ASSERT_TRUE(store_.ReadNumber("", "proxy_port", number));
  EXPECT_EQ(number, 0u);
}

TEST_F(PreferenceStoreTest, StartupProxyTypeOneIsKeptWithItsAddress) {
  ASSERT_TRUE(store_.WriteNumber("", "proxy_type", 1));
  ASSERT_TRUE(store_.WriteText("", "proxy_ip", "192.168.1.10"));
  ASSERT_TRUE(store_.WriteNumber("", "proxy_port", 8080));
  EXPECT_EQ(LoadStartupPreferences(store_).proxy_type, 1);
  std::string text;
  ASSERT_TRUE(store_.ReadText("", "proxy_ip", text));
  EXPECT_EQ(text, "192.168.1.10");
}

TEST_F(PreferenceStoreTest, StartupSaveToPathIsReadOnlyWhenRemembered) {
  ASSERT_TRUE(store_.WriteText("", "save_to_path", "/home/用户/处理后"));
  EXPECT_EQ(LoadStartupPreferences(store_).save_to_path, "");
  ASSERT_TRUE(store_.WriteNumber("", "is_record_save_to_path", 1));
  StartupPreferences p = LoadStartupPreferences(store_);
  EXPECT_EQ(p.is_record_save_to_path, 1);
  EXPECT_EQ(p.save_to_path, "/home/用户/处理后");
}

}  // namespace
}  // namespace brindle
