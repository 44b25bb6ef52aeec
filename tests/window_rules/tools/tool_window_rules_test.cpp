// The tool windows' rules that need no window: which output controls show, what a window does
// when its run has ended, the slice window's enabled states, the PNG tool's save choice, and the
// crop and join windows' picture list and drops.
#include <gtest/gtest.h>

#include "support/test_support.h"
#include "window_rules/tools/common/tool_output_controls.h"
#include "window_rules/tools/common/tool_picture_list.h"
#include "window_rules/tools/common/tool_run_end.h"
#include "window_rules/tools/png/png_save_choice.h"
#include "window_rules/tools/slice/slice_direction_controls.h"

namespace brindle {
namespace {

TEST(ToolWindowRules, OutputControlsFollowFormatAndPng8) {
  EXPECT_EQ(OutputControlsFor(ToolOutputFormat::kJpg, true),
            (OutputControlsShown{true, false, false, false}));
  EXPECT_EQ(OutputControlsFor(ToolOutputFormat::kPng, false),
            (OutputControlsShown{false, true, true, false}));
  EXPECT_EQ(OutputControlsFor(ToolOutputFormat::kPng, true),
            (OutputControlsShown{false, true, true, true}));
}

TEST(ToolWindowRules, OnlyACompletedRunAsksAndOnlyAStoppedOneGoesBack) {
  RunOutcome outcome;
  ToolRunEnd end = DecideToolRunEnd(outcome);
  EXPECT_TRUE(end.ask_to_open_folder);
  EXPECT_FALSE(end.message);

  outcome.end = RunEnd::kStopped;
  outcome.message = StoppedMessage();
  end = DecideToolRunEnd(outcome);
  EXPECT_TRUE(end.back_to_main_window);
  EXPECT_FALSE(end.ask_to_open_folder);
  EXPECT_EQ(end.message->text, "任务已中止");

  outcome.end = RunEnd::kNothingFound;
  outcome.message = NothingFoundMessage();
  end = DecideToolRunEnd(outcome);
  EXPECT_FALSE(end.back_to_main_window || end.ask_to_open_folder);
  EXPECT_EQ(end.message->text, "没有找到需要处理的图片");
}

TEST(ToolWindowRules, SliceDirectionEnablesTheBoxOfItsRadio) {
  EXPECT_EQ(SliceDirectionControlsOf(false, true, false), SliceDirectionControls{});
  EXPECT_EQ(SliceDirectionControlsOf(true, true, false),
            (SliceDirectionControls{true, true, false, 1}));
  EXPECT_EQ(SliceDirectionControlsOf(true, false, true),
            (SliceDirectionControls{true, false, true, 2}));
}

TEST(ToolWindowRules, PictureListTakesEachPathOnceAndDeletesWithItsIndexRule) {
  using Paths = std::vector<std::filesystem::path>;
  Paths list;
  EXPECT_EQ(AddToPictureList(list, {"/p/a.jpg", "/p/a.jpg", "/p/b.png"}), 2);
  EXPECT_EQ(AddToPictureList(list, {"/p/b.png", "/p/c.gif", "/p/d.bmp", "/p/e.jpg"}), 3);

  // Rows before the preview picture move its index down; the row at the topmost gap is selected.
  PictureListDeletion deleted = DeleteFromPictureList(list, {4, 1}, 3);
  EXPECT_EQ(list, (Paths{"/p/a.jpg", "/p/c.gif", "/p/d.bmp"}));
  EXPECT_EQ(deleted.current_index, 2);
  EXPECT_FALSE(deleted.current_removed);
  EXPECT_EQ(deleted.selected_row, 1);
  // The preview picture itself goes: index 0; past the end the row before is selected.
  deleted = DeleteFromPictureList(list, {2}, 2);
  EXPECT_TRUE(deleted.current_removed);
  EXPECT_EQ(deleted.current_index, 0);
  EXPECT_EQ(deleted.selected_row, 1);
  deleted = DeleteFromPictureList(list, {0, 1}, 0);
  EXPECT_TRUE(list.empty());
  EXPECT_EQ(deleted.selected_row, -1);
}

TEST(ToolWindowRules, DropsFollowTheSourceMode) {
  test::TempFolder folder;
  const std::filesystem::path photos = folder.path() / "photos";
  std::filesystem::create_directories(photos);
  ToolDrop drop = TriageToolDrop(false, {photos, folder.path() / "a.jpg"});
  EXPECT_EQ(drop.refusal->text, "当前模式：一次只支持拖入一个文件夹");
  EXPECT_EQ(TriageToolDrop(false, {photos}).folder, photos);

  drop = TriageToolDrop(true, {folder.path() / "a.JPEG", photos});
  EXPECT_EQ(drop.refusal->text, "当前模式：只支持拖入图片文件，格式：jpg, png, gif, bmp");
  EXPECT_TRUE(drop.pictures.empty());
  drop = TriageToolDrop(
      true, {folder.path() / "a.JPEG", folder.path() / "notes.txt", folder.path() / "b.bmp"});
  EXPECT_FALSE(drop.refusal);
  EXPECT_EQ(drop.pictures, (std::vector<std::filesystem::path>{folder.path() / "a.JPEG",
                                                               folder.path() / "b.bmp"}));
}

// The output folder the PNG window remembers through a source change, an overwrite run and a new
// choice.
TEST(ToolWindowRules, PngSaveChoiceRemembersTheOutputFolder) {
  test::TempFolder folder;
  const std::filesystem::path photos = folder.path() / "photos";
  std::filesystem::create_directories(folder.path() / "photos_处理后");
  PngSaveChoice choice;
  choice.Open();
  EXPECT_EQ(choice.mode(), PngSaveMode::kToFolder);
  EXPECT_TRUE(choice.box().empty());
  choice.SetSource(photos);
  EXPECT_EQ(choice.box(), folder.path() / "photos_处理后(2)");

  choice.ChooseOverwrite();
  EXPECT_FALSE(choice.output_enabled());
  EXPECT_TRUE(choice.box().empty());
  choice.ChooseToFolder();  // the remembered folder comes back
  EXPECT_EQ(choice.box(), folder.path() / "photos_处理后(2)");

  choice.ChooseOverwrite();
  choice.EndRun();  // an overwriting run forgets it; the next choice proposes it again
  EXPECT_EQ(choice.mode(), PngSaveMode::kNone);
  EXPECT_TRUE(choice.output_enabled());
  choice.ChooseToFolder();
  EXPECT_EQ(choice.box(), folder.path() / "photos_处理后(2)");

  choice.ChooseOverwrite();
  choice.ChooseOutput(folder.path() / "out");
  EXPECT_EQ(choice.mode(), PngSaveMode::kToFolder);
  EXPECT_EQ(choice.box(), folder.path() / "out");
  choice.EndRun();
  choice.ChooseToFolder();
  EXPECT_EQ(choice.box(), folder.path() / "out");

  EXPECT_STREQ(PngKeepProportionsLabel(PngZoomKind::kEnlarge, PngZoomSide::kHeight),
               "宽度等比例放大");
}

}  // namespace
}  // namespace brindle
