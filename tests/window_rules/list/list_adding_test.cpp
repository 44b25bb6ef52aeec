#include "window_rules/list/list_adding.h"

#include <gtest/gtest.h>

#include "base/info_log.h"
#include "support/test_support.h"

namespace brindle {
namespace {

namespace fs = std::filesystem;

class ScriptedQuestions : public ListAddQuestions {
 public:
  bool IncludeSubFolders(const fs::path& folder) override {
    asked_folders.push_back(folder.filename().string());
    return include_sub_folders;
  }
  ThumbnailAnswer AskThumbnails(int found) override {
    asked_counts.push_back(found);
    return answer;
  }
  bool include_sub_folders = true;
  ThumbnailAnswer answer = ThumbnailAnswer::kKeep;
  std::vector<std::string> asked_folders;
  std::vector<int> asked_counts;
};

std::vector<std::string> Names(const PictureList& list) {
  std::vector<std::string> names;
  for (const PictureEntry& entry : list.entries()) names.push_back(entry.name);
  return names;
}

TEST(ListAdding, DroppedFilesFoldersRootsAndUnusablePictures) {
  test::EnsureMagick();
  InfoLog::Global().Clear();
  test::TempFolder folder;
  fs::create_directories(folder / "album" / "day1");
  test::WritePicture(folder / "a.jpg", 8, 8, "JPEG");
  test::WritePicture(folder / "b.png", 8, 8, "PNG");
  test::WritePicture(folder / "c.gif", 8, 8, "GIF");
  test::WriteAnimatedGif(folder / "moving.gif", 8, 8);
  test::WritePicture(folder / "album" / "d.png", 8, 8, "PNG");
  test::WritePicture(folder / "album" / "day1" / "e.png", 8, 8, "PNG");
  fs::create_directories(folder / "empty");

  PictureList list;
  ScriptedQuestions questions;
  ListAddState state;
  const std::vector<fs::path> files = {folder / "a.jpg", folder / "b.png", folder / "c.gif"};
  EXPECT_EQ(AddDroppedPaths(list, files, questions, state).added, 3);
  EXPECT_EQ(AddDroppedPaths(list, files, questions, state).added, 0);  // already there
  EXPECT_EQ(Names(list), (std::vector<std::string>{"a.jpg", "b.png", "c.gif"}));

  AddDroppedPaths(list, {folder / "moving.gif", "/", folder / "empty"}, questions, state);
  EXPECT_EQ(list.size(), 3u);
  const std::string log = InfoLog::Global().Text();
  EXPECT_NE(log.find("不支持gif动画图片:\r\n" + (folder / "moving.gif").string()), std::string::npos);
  EXPECT_NE(log.find("暂不支持拖动根目录:[/]"), std::string::npos);
  EXPECT_NE(log.find("在文件夹中没有找到可处理的图片:\r\n" + (folder / "empty").string()),
            std::string::npos);

  // A folder with sub-folders asks; "No" adds only its own pictures, "Yes" the rest too, with the
  // folder structure remembered.
  questions.include_sub_folders = false;
  AddDroppedPaths(list, {folder / "album"}, questions, state);
  EXPECT_EQ(list.size(), 4u);
  questions.include_sub_folders = true;
  AddDroppedPaths(list, {folder / "album"}, questions, state);
  EXPECT_EQ(Names(list), (std::vector<std::string>{"a.jpg", "b.png", "c.gif", "d.png", "e.png"}));
  EXPECT_EQ(list[4].source_sub_path, "album/day1");
  EXPECT_EQ(questions.asked_folders, (std::vector<std::string>{"album", "album"}));

  // The folder chooser refuses the root and tells of a folder without pictures.
  ListAddOutcome root = AddChosenFolder(list, "/", "", questions, state);
  EXPECT_EQ(root.message, "暂不支持添加根目录：[/]，请选择下一级文件夹。");
  ListAddOutcome empty = AddChosenFolder(list, folder / "empty", "", questions, state);
  EXPECT_EQ(empty.message, "在[" + (folder / "empty").string() + "]中没有找到可处理的图片。");
}

TEST(ListAdding, TheThumbnailQuestionComesAbove2000Pictures) {
  test::EnsureMagick();
  test::TempFolder folder;
  test::WritePicture(folder / "one.png", 4, 4, "PNG");
  const std::string bytes = test::ReadFile(folder / "one.png");
  fs::create_directories(folder / "2000");
  fs::create_directories(folder / "extra");
  for (int i = 0; i < 2001; ++i) {
    test::WriteFile(folder / (i < 2000 ? "2000" : "extra") / (std::to_string(i) + ".png"), bytes);
  }
  ScriptedQuestions questions;
  ListAddState state;
  state.parse_file_format = false;  // the extension decides: no need to read 2001 files

  PictureList list;
  AddDroppedPaths(list, {folder / "2000"}, questions, state);
  EXPECT_TRUE(questions.asked_counts.empty());

  // 2001: asked; "不再提示" is to be stored and nothing is asked again in this run.
  fs::rename(folder / "extra" / "2000.png", folder / "2000" / "2000.png");
  PictureList more;
  questions.answer = ThumbnailAnswer::kNeverAsk;
  ListAddOutcome outcome = AddDroppedPaths(more, {folder / "2000"}, questions, state);
  EXPECT_EQ(questions.asked_counts, std::vector<int>{2001});
  EXPECT_TRUE(outcome.never_ask_stored);
  EXPECT_EQ(outcome.added, 2001);
  PictureList again;
  AddDroppedPaths(again, {folder / "2000"}, questions, state);
  EXPECT_EQ(questions.asked_counts.size(), 1u);

  // Yes turns the thumbnails off.
  ListAddState fresh;
  fresh.parse_file_format = false;
  questions.answer = ThumbnailAnswer::kTurnOff;
  PictureList third;
  EXPECT_TRUE(AddDroppedPaths(third, {folder / "2000"}, questions, fresh).thumbnails_turned_off);
  EXPECT_FALSE(fresh.thumbnails_on);
}

}  // namespace
}  // namespace brindle
