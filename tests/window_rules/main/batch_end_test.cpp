#include "window_rules/main/batch_end.h"

#include <gtest/gtest.h>

namespace brindle {
namespace {

RunOutcome Ended(RunEnd end) {
  RunOutcome outcome;
  outcome.end = end;
  if (end == RunEnd::kAborted)
    outcome.message = RunMessage{"任务中止！", "错误", MessageIcon::kError};
  return outcome;
}

TEST(BatchEndTest, ACompletedRunAsksOrTellsAndAppliesTheSaveMode) {
  const SaveModePreferences clear{0, false, false};
  BatchEnd to_folder =
      DecideBatchEnd(Ended(RunEnd::kCompleted), PlacementMode::kSaveToFolder, clear, true);
  EXPECT_TRUE(to_folder.ask_to_open_folder);
  EXPECT_TRUE(to_folder.store_target_folder);
  EXPECT_FALSE(to_folder.message);
  EXPECT_EQ(to_folder.save_choice, PlacementMode::kNone);

  const SaveModePreferences keep_folder{1, false, false};
  BatchEnd overwrite =
      DecideBatchEnd(Ended(RunEnd::kCompleted), PlacementMode::kOverwrite, keep_folder, true);
  EXPECT_FALSE(overwrite.ask_to_open_folder);
  EXPECT_FALSE(overwrite.store_target_folder);
  ASSERT_TRUE(overwrite.message);
  EXPECT_EQ(overwrite.message->text, "图片批量处理已完成");
  EXPECT_EQ(overwrite.message->caption, "完成");
  EXPECT_EQ(overwrite.save_choice, PlacementMode::kNone);
  EXPECT_EQ(
      DecideBatchEnd(Ended(RunEnd::kCompleted), PlacementMode::kSaveToFolder, keep_folder, false)
          .save_choice,
      PlacementMode::kSaveToFolder);
}

TEST(BatchEndTest, AStoppedRunShowsNothingAndAFailedOneSaysWhy) {
  const SaveModePreferences clear{0, false, false};
  BatchEnd stopped =
      DecideBatchEnd(Ended(RunEnd::kStopped), PlacementMode::kSaveToFolder, clear, true);
  EXPECT_FALSE(stopped.ask_to_open_folder || stopped.store_target_folder || stopped.message ||
               stopped.save_choice);
  BatchEnd aborted =
      DecideBatchEnd(Ended(RunEnd::kAborted), PlacementMode::kSaveToFolder, clear, true);
  ASSERT_TRUE(aborted.message);
  EXPECT_EQ(aborted.message->text, "任务中止！");
  EXPECT_FALSE(aborted.save_choice);
}

}  // namespace
}  // namespace brindle
