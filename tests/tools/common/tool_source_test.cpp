#include "tools/common/tool_source.h"

#include <gtest/gtest.h>

#include "support/test_support.h"

namespace brindle {
namespace {

namespace fs = std::filesystem;
using test::TempFolder;

TEST(DefaultOutputFolder, CountsPastExistingFoldersOnly) {
  TempFolder folder;
  fs::path photos = folder / "photos";
  fs::create_directory(photos);
  EXPECT_EQ(DefaultOutputFolder(photos), folder / "photos_处理后");
  EXPECT_FALSE(fs::exists(folder / "photos_处理后"));  // proposed, not made

  fs::create_directory(folder / "photos_处理后");
  EXPECT_EQ(DefaultOutputFolder(photos), folder / "photos_处理后(2)");
  fs::create_directory(folder / "photos_处理后(2)");
  EXPECT_EQ(DefaultOutputFolder(photos), folder / "photos_处理后(3)");
  // A file of the next name does not count as taken.
  test::WriteFile(folder / "photos_处理后(3)", "x");
  EXPECT_EQ(DefaultOutputFolder(photos), folder / "photos_处理后(3)");
  // A source given with a separator at its end names the same folder.
  EXPECT_EQ(DefaultOutputFolder((folder / "photos").string() + "/"), folder / "photos_处理后(3)");
}

TEST(CheckSourceFolder, EmptyOrMissingSourceIsRefusedAtTheChooseButton) {
  TempFolder folder;
  std::optional<Refusal> empty = CheckSourceFolder("");
  ASSERT_TRUE(empty);
  EXPECT_EQ(empty->control, kSourceButton);
  EXPECT_EQ(empty->hint_title, "请选择【源图片文件夹】");
  EXPECT_EQ(empty->hint_text, "源图片文件夹不能为空");
  EXPECT_EQ(empty->icon, MessageIcon::kWarning);
  EXPECT_TRUE(empty->take_focus);

  std::optional<Refusal> missing = CheckSourceFolder(folder / "gone");
  ASSERT_TRUE(missing);
  EXPECT_EQ(missing->hint_title, "请重新选择");
  EXPECT_EQ(missing->hint_text, "选择的【源图片文件夹】不存在");
  test::WriteFile(folder / "file", "x");
  EXPECT_TRUE(CheckSourceFolder(folder / "file"));
  EXPECT_FALSE(CheckSourceFolder(folder.path()));
}

TEST(SourceDrop, OneFolderButTheRootIsTaken) {
  TempFolder folder;
  fs::create_directory(folder / "a");
  fs::create_directory(folder / "b");
  test::WriteFile(folder / "c.jpg", "x");

  SourceDrop one = TakeDroppedSource({folder / "a"});
  EXPECT_EQ(one.folder, folder / "a");
  EXPECT_FALSE(one.refusal);

  const RunMessage only_one{"一次只支持拖入一个文件夹", "提示", MessageIcon::kWarning};
  SourceDrop two = TakeDroppedSource({folder / "a", folder / "b"});
  EXPECT_FALSE(two.folder);
  EXPECT_EQ(two.refusal, only_one);
  EXPECT_EQ(TakeDroppedSource({folder / "c.jpg"}).refusal, only_one);
  EXPECT_EQ(TakeDroppedSource({}).refusal, only_one);

  SourceDrop root = TakeDroppedSource({"/"});
  EXPECT_FALSE(root.folder);
  EXPECT_EQ(root.refusal, (RunMessage{"暂不支持拖入根目录:[/]", "提示", MessageIcon::kWarning}));
  EXPECT_EQ(ChosenRootRefusal("/"), (RunMessage{"暂不支持添加根目录：[/]，请选择下一级文件夹。",
                                                "错误", MessageIcon::kError}));
}

}  // namespace
}  // namespace brindle
