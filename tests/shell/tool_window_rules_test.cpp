// The tool windows' rules that need no window: which output controls show, and what a window does
// when its run has ended.
#include <gtest/gtest.h>

#include "shell/tool_output_controls.h"
#include "shell/tool_run_end.h"

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

}  // namespace
}  // namespace brindle
