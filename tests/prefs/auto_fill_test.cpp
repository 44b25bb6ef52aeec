#include "prefs/auto_fill.h"

#include <gtest/gtest.h>

#include <fstream>

#include "prefs/preferences.h"
#include "support/test_support.h"

namespace brindle {
namespace {

using Texts = std::vector<std::string>;

class AutoFillTest : public ::testing::Test {
 protected:
  std::string TextHistory() const { return ReadPreference(store_, pref::kUsedSyTextRecord); }

  test::TempFolder folder_;
  PreferenceStore store_{folder_ / "Brindle.ini"};
};

TEST_F(AutoFillTest, RememberedTextsMoveToTheTopAndKeepThirty) {
  WritePreference(store_, pref::kUsedSyTextRecord, "a\rb\rc");
  RememberText(store_, "B");
  EXPECT_EQ(TextHistory(), "B\ra\rc");
  RememberText(store_, "b");  // already on top: the stored spelling stays
  EXPECT_EQ(TextHistory(), "B\ra\rc");
  RememberText(store_, "");
  EXPECT_EQ(TextHistory(), "B\ra\rc");

  std::string full;
  for (int i = 0; i < 30; ++i) full.append(i ? "\r" : "").append("t").append(std::to_string(i));
  WritePreference(store_, pref::kUsedSyTextRecord, full);
  RememberText(store_, "new");
  const std::string history = TextHistory();
  EXPECT_EQ(history.substr(0, 7), "new\rt0\r");
  EXPECT_EQ(history.substr(history.size() - 4), "\rt28");

  WritePreference(store_, pref::kUsedSyTextRecord, "\r\rx\r\ry\r");
  EXPECT_EQ(OfferedTexts(store_), (Texts{"x", "y"}));
  WritePreference(store_, pref::kShowSyTextMaxCount, 0);
  EXPECT_TRUE(OfferedTexts(store_).empty());
  RememberText(store_, "z");
  EXPECT_EQ(TextHistory(), "\r\rx\r\ry\r");
}

TEST_F(AutoFillTest, CountsAndMissingPictures) {
  AutoFillSettings settings = ReadAutoFillSettings(store_);
  EXPECT_EQ(settings.text_max_count, 10);
  EXPECT_TRUE(settings.hide_missing_pictures);
  WritePreference(store_, pref::kShowSyTextMaxCount, 25);
  WritePreference(store_, pref::kShowSyImageMaxCount, 3);
  EXPECT_EQ(ReadAutoFillSettings(store_).text_max_count, 10);

  EXPECT_EQ(DeleteMissingPictures(store_), -1);
  EXPECT_EQ(DeleteMissingPicturesText(-1), "没有找到需要删除的图片记录");

  Texts paths;
  for (int i = 0; i < 6; ++i) {
    paths.push_back((folder_ / std::string("p").append(std::to_string(i)).append(".png")).string());
    if (i >= 2) std::ofstream(paths.back()) << "png";
  }
  for (auto it = paths.rbegin(); it != paths.rend(); ++it) RememberPicture(store_, *it);
  EXPECT_EQ(OfferedPictures(store_), (Texts{paths[2], paths[3], paths[4]}));
  WritePreference(store_, pref::kHideNoExistsSyImageRecord, 0);
  EXPECT_EQ(OfferedPictures(store_), (Texts{paths[0], paths[1], paths[2]}));

  EXPECT_EQ(DeleteMissingPictures(store_), 2);
  EXPECT_EQ(DeleteMissingPicturesText(2), "共删除 2 条记录");
  WritePreference(store_, pref::kShowSyImageMaxCount, 20);
  EXPECT_EQ(OfferedPictures(store_), (Texts{paths[2], paths[3], paths[4], paths[5]}));
  EXPECT_EQ(DeleteMissingPictures(store_), 0);

  ClearPictureHistory(store_);
  EXPECT_TRUE(OfferedPictures(store_).empty());
  EXPECT_EQ(DeleteMissingPictures(store_), -1);
}

}  // namespace
}  // namespace brindle
