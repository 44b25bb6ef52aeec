#include "run/target/target_folder.h"

#include <gtest/gtest.h>

#include "support/test_support.h"

namespace brindle {
namespace {

namespace fs = std::filesystem;
using test::TempFolder;

std::vector<PictureEntry> EntriesWithSubPaths(const std::vector<std::string>& sub_paths) {
  std::vector<PictureEntry> entries;
  for (const std::string& sub_path : sub_paths) {
    PictureEntry entry;
    entry.path = "/pics/" + sub_path + "/p.jpg";
    entry.source_sub_path = sub_path;
    entries.push_back(entry);
  }
  return entries;
}

TEST(PrepareTargetFolder, NoFolderChosen) {
  std::optional<Refusal> refusal = PrepareTargetFolder("", true, {});
  ASSERT_TRUE(refusal);
  EXPECT_EQ(refusal->control, "save_folder_button");
  EXPECT_EQ(refusal->hint_title, "看这里");
  EXPECT_EQ(refusal->hint_text, "请选择图片处理后保存到的位置");
  EXPECT_EQ(refusal->message, "请选择图片处理后保存到的位置");
  EXPECT_EQ(refusal->caption, "提示");
  EXPECT_EQ(refusal->icon, MessageIcon::kWarning);
  EXPECT_EQ(refusal->scroll, PanelScroll::kBottom);
}

TEST(PrepareTargetFolder, FolderMissingOrAFile) {
  TempFolder out;
  test::WriteFile(out / "file", "x");
  for (fs::path folder : {out / "missing", out / "file"}) {
    std::optional<Refusal> refusal = PrepareTargetFolder(folder.string(), false, {});
    ASSERT_TRUE(refusal) << folder;
    EXPECT_EQ(refusal->control, "save_folder_button");
    EXPECT_EQ(refusal->hint_title, "看这里");
    EXPECT_EQ(refusal->hint_text, "文件夹不存在，请重新选择");
    EXPECT_EQ(refusal->message, "图片处理后保存到的位置不存在，请重新选择");
    EXPECT_EQ(refusal->caption, "提示");
    EXPECT_EQ(refusal->icon, MessageIcon::kWarning);
    EXPECT_EQ(refusal->scroll, PanelScroll::kBottom);
  }
}

TEST(PrepareTargetFolder, MirrorFoldersInTheOrderFirstMet) {
  std::vector<PictureEntry> entries = EntriesWithSubPaths(
      {"Holiday/day1", "", "Holiday/day1/inner", "Work", "Holiday", "Holiday/day0"});
  EXPECT_EQ(MirrorFolders(entries),
            (std::vector<std::string>{"Holiday", "Holiday/day1", "Holiday/day1/inner", "Work",
                                      "Holiday/day0"}));
}

TEST(PrepareTargetFolder, MakesTheMirrorFoldersOnlyWhenKeepingTheStructure) {
  TempFolder out;
  std::vector<PictureEntry> entries = EntriesWithSubPaths({"Holiday/day1", "Work"});
  EXPECT_FALSE(PrepareTargetFolder(out.path().string(), false, entries));
  EXPECT_FALSE(fs::exists(out / "Holiday"));

  fs::create_directory(out / "Work");  // an existing one is fine
  EXPECT_FALSE(PrepareTargetFolder(out.path().string() + "/", true, entries));
  EXPECT_TRUE(fs::is_directory(out / "Holiday" / "day1"));
  EXPECT_TRUE(fs::is_directory(out / "Work"));
}

TEST(PrepareTargetFolder, FolderThatCannotBeMadeStopsTheRun) {
  TempFolder out;
  test::WriteFile(out / "Blocked", "a file where a folder should go");
  std::vector<PictureEntry> entries = EntriesWithSubPaths({"First", "Blocked/day1", "Later"});
  std::optional<Refusal> refusal = PrepareTargetFolder(out.path().string() + "/", true, entries);
  ASSERT_TRUE(refusal);
  EXPECT_EQ(refusal->message, "无法创建目标文件夹：[" + (out / "Blocked").string() + "]");
  EXPECT_EQ(refusal->caption, "提示");
  EXPECT_EQ(refusal->icon, MessageIcon::kError);
  EXPECT_TRUE(refusal->hint_title.empty());
  EXPECT_TRUE(fs::is_directory(out / "First"));  // made before the failure: stays
  EXPECT_FALSE(fs::exists(out / "Later"));
}

}  // namespace
}  // namespace brindle
