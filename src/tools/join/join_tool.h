#pragma once
// The join tool: pictures stitched into one long picture, top to bottom or left to right. In
// folder mode every direct sub-folder of the source (or the source itself when it has none) is a
// group that gives one joined picture; in list mode the hand-made list gives one. The results go
// into an output folder under names that never replace an existing file.

#include <atomic>
#include <filesystem>
#include <optional>
#include <vector>

#include "base/refusal.h"
#include "run/batch/run_job.h"
#include "tools/common/tool_settings.h"

namespace brindle {

// What the window (or brindle-cli) hands over when a run starts; settings.picture_list_source
// chooses between the source folder and the picture list.
struct JoinJob {
  std::filesystem::path source_folder;
  std::vector<std::filesystem::path> pictures;  // the picture list, in the order added
  std::filesystem::path output_folder;
  JoinToolSettings settings;
};

// Controls the refusals point at (the source folder's "选择" is kSourceButton).
inline constexpr const char* kJoinJpgBox = "load_format_jpg";
inline constexpr const char* kJoinAddButton = "add_button";
inline constexpr const char* kJoinOutputButton = "output_button";
inline constexpr const char* kJoinCustomLengthBox = "custom_length_box";

// The formats a join takes from a folder: only the boxes "jpg", "png", "gif" and "bmp" count.
LoadFormatMask JoinLoadFormats(const JoinToolSettings& settings);

// "文件夹 %s 中没有可拼接的图片，请重新选择。" (caption "提示", warning icon): a source folder
// chosen in the folder chooser, or found at the start of a run, that has nothing to join.
RunMessage NothingToJoinMessage(const std::filesystem::path& folder);

// The checks of "开始拼接", in order: the source folder (empty, missing, no format ticked, nothing
// to join) or the list (fewer than two pictures); the output folder (empty; made when missing);
// the custom length (empty, below 1). A refusal without a control is the failed creation of the
// output folder ("创建文件夹 %s 失败，错误码：%d", caption "错误"), a run-level error.
std::optional<Refusal> ValidateJoinStart(const JoinJob& job);

// Logged for a group that gives no joined picture, and when the list gives none.
inline constexpr const char* kEmptyGroupMessage = "文件夹中没有找到需要拼接的图片:\r\n%s";
inline constexpr const char* kEmptyListMessage = "注意: 没有获取到拼接后的图片数据.";

// The whole run. Folder mode: the groups are listed again, a group with fewer than two pictures is
// skipped silently, a group that gives nothing or is too large for JPEG is logged, and a failed
// write ends the run. List mode: a list too large for JPEG ends the run with its message. The
// outcome counts groups (total, written) and logged troubles (unreadable).
RunOutcome RunJoinJob(const JoinJob& job, RunObserver& observer,
                      const std::atomic<bool>& stop_requested);

}  // namespace brindle
