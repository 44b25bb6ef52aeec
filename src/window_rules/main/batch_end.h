#pragma once
// What the main window does when a batch run has ended: the completion question or message, the
// target folder remembered, and the save choice the save mode leaves for the next run.

#include <optional>

#include "run/batch/run_job.h"
#include "run/target/placement_mode.h"
#include "window_rules/panel/save_mode.h"

namespace brindle {

// Folder mode's completion question (caption "完成", information icon, Yes/No); Yes opens the
// target folder.
inline constexpr const char* kBatchOpenFolderQuestion =
    "图片批量处理已完成，是否要打开目标文件夹查看处理后的图片？";
inline constexpr const char* kBatchDoneText = "图片批量处理已完成";
inline constexpr const char* kBatchDoneCaption = "完成";

struct BatchEnd {
  std::optional<RunMessage> message;  // a box to show
  bool ask_to_open_folder = false;
  bool store_target_folder = false;  // as the remembered "处理后保存到" folder
  // The save choice for the next run; none leaves it as it is.
  std::optional<PlacementMode> save_choice;
};

// A stopped run shows nothing and keeps the choice; a completed one asks (folder mode) or tells
// (overwrite mode), stores the target folder when the user asked for that, and applies the save
// mode; a run that could not go on shows why.
BatchEnd DecideBatchEnd(const RunOutcome& outcome, PlacementMode mode,
                        const SaveModePreferences& save_mode, bool record_target_folder);

}  // namespace brindle
