#include "run/list/run_list.h"

#include <gtest/gtest.h>

#include "support/test_support.h"

namespace brindle {
namespace {

namespace fs = std::filesystem;
using test::TempFolder;

class RunListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    source = folder / "src";
    for (const char* sub : {"src", "src/b", "src/b/deep", "src/a", "src/.hidden"}) {
      fs::create_directory(folder / sub);
    }
    for (const char* file : {"src/2.png", "src/1.JPG", "src/notes.txt", "src/b/x.png",
                             "src/b/deep/y.gif", "src/a/z.jpeg", "src/.hidden/h.png"}) {
      test::WriteFile(folder / file, "x");
    }
    request.source_folder = source;
    request.accepts = [](std::string_view name) {
      fs::path extension = fs::path(name).extension();
      for (const char* accepted : {".jpg", ".JPG", ".jpeg", ".png", ".gif"}) {
        if (extension == accepted) return true;
      }
      return false;
    };
  }

  static std::vector<std::string> Listed(const RunList& list) {
    std::vector<std::string> listed;
    for (const ToolPicture& picture : list.pictures) {
      listed.push_back(picture.relative_folder + "|" + picture.path.filename().string());
    }
    return listed;
  }

  TempFolder folder;
  fs::path source;
  RunListRequest request;
  std::atomic<bool> stop{false};
};

TEST_F(RunListTest, SourceFilesOnlyWithoutSubFolders) {
  request.output_folder = folder / "out";
  RunList list = BuildRunList(request, stop);
  EXPECT_EQ(Listed(list), (std::vector<std::string>{"|1.JPG", "|2.png"}));
  EXPECT_FALSE(list.failure);
  EXPECT_TRUE(fs::is_directory(folder / "out"));
  EXPECT_FALSE(fs::exists(folder / "out/a"));
}

TEST_F(RunListTest, SubFoldersParentFirstWithTheirMirrors) {
  request.include_sub_folders = true;
  request.output_folder = folder / "out";
  RunList list = BuildRunList(request, stop);
  EXPECT_EQ(Listed(list), (std::vector<std::string>{"|1.JPG", "|2.png", "/a|z.jpeg", "/b|x.png",
                                                    "/b/deep|y.gif"}));
  EXPECT_EQ(list.pictures[2].path, source / "a" / "z.jpeg");
  EXPECT_TRUE(fs::is_directory(folder / "out/a"));
  EXPECT_TRUE(fs::is_directory(folder / "out/b/deep"));
  // An existing mirror is used as it is.
  RunList again = BuildRunList(request, stop);
  EXPECT_FALSE(again.failure);
  EXPECT_EQ(again.pictures.size(), 5u);
}

TEST_F(RunListTest, PatternAloneAndNoFoldersWhenOverwriting) {
  request.include_sub_folders = true;
  request.pattern = "*.png";
  request.accepts = nullptr;
  RunList list = BuildRunList(request, stop);
  EXPECT_EQ(Listed(list), (std::vector<std::string>{"|2.png", "/b|x.png"}));
  EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 1);
}

TEST_F(RunListTest, FoldersThatCannotBeMadeStopTheRun) {
  request.output_folder = folder / "missing" / "out";
  RunList list = BuildRunList(request, stop);
  ASSERT_TRUE(list.failure);
  EXPECT_EQ(list.failure->text,
            "任务中止！\n\n创建文件夹 " + (folder / "missing/out").string() + " 失败，错误码：2");
  EXPECT_EQ(list.failure->caption, "错误");
  EXPECT_EQ(list.failure->icon, MessageIcon::kError);

  fs::create_directory(folder / "out");
  test::WriteFile(folder / "out/b", "a file where the mirror should be");
  request.output_folder = folder / "out";
  request.include_sub_folders = true;
  list = BuildRunList(request, stop);
  ASSERT_TRUE(list.failure);
  EXPECT_EQ(list.failure->text,
            "任务中止！\n\n创建子文件夹 " + (folder / "out/b").string() + " 失败，错误码：17");
  EXPECT_TRUE(fs::is_directory(folder / "out/a"));  // made before the failure, kept
}

TEST_F(RunListTest, StopRequestEndsTheWalkBeforeTheNextSubFolder) {
  request.include_sub_folders = true;
  stop = true;
  RunList list = BuildRunList(request, stop);
  EXPECT_EQ(Listed(list), (std::vector<std::string>{"|1.JPG", "|2.png"}));
}

}  // namespace
}  // namespace brindle
