// The tool windows' rules that need no window: which output controls show, what a window does
// when its run has ended, the slice window's enabled states and the PNG tool's save choice.
#include <gtest/gtest.h>

#include "shell/png_save_choice.h"
#include "shell/slice_direction_controls.h"
#include "shell/tool_output_controls.h"
#include "shell/tool_run_end.h"
#include "support/test_support.h"

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
