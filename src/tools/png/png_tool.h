#pragma once
// The PNG tool: every "*.png" file of a source folder (optionally with its sub-folders) resized,
// turned black and white or flattened as chosen, and written again as PNG, normally PNG-8, into an
// output folder that mirrors the sub-folders or over the source files. Overwriting replaces a
// source only with a complete new file, so a failed write leaves it as it was.

#include <atomic>
#include <filesystem>
#include <optional>

#include "base/refusal.h"
#include "run/batch/run_job.h"
#include "run/target/placement_mode.h"
#include "tools/common/tool_settings.h"

namespace brindle {

// The save choice: neither radio button (as after every run), "处理后保存到" or "直接覆盖原图".
enum class PngSaveMode { kNone, kToFolder, kOverwrite };

struct PngJob {
  std::filesystem::path source_folder;
  bool include_sub_folders = false;  // "同时处理所有子文件夹里的图片"
  PngSaveMode save_mode = PngSaveMode::kNone;
  std::filesystem::path output_folder;  // with kToFolder
  PngToolSettings settings;
  int workers = 1;  // pictures worked on at once
  bool keep_time = false;  // each written file gets its source's modification time
};

// Controls the refusals point at.
inline constexpr const char* kZoomValueBox = "zoom_value_box";
inline constexpr const char* kSaveToFolderOption = "save_to_folder_option";

// The checks of "开始处理", in order: source empty, source missing, resize number empty or below
// 1, no save choice.
std::optional<Refusal> ValidatePngStart(const PngJob& job);

// The settings a run works with.
struct PngRunSettings {
  std::optional<PngZoom> zoom;  // none: nothing is resized
  bool black_white = false;
  bool overwrite = false;
  bool transparent = true;
  bool png8 = true;
  int color_count = kDefaultPng8ColorCount;
};

PngRunSettings PngRunSettingsOf(const PngJob& job);

// The path a picture is written to when the results go to folder: its name without the last
// extension and ".png", numbered "(2)", "(3)", ... while that path is taken.
std::filesystem::path PngTargetPath(const std::filesystem::path& folder,
                                    std::string_view file_name);

// Works on one picture and writes it to target.
PictureResult ProcessPngPicture(const std::filesystem::path& source,
                                const std::filesystem::path& target, const PngRunSettings& run);

// The whole run; the outcome offers the output folder, or the source folder when overwriting.
RunOutcome RunPngJob(const PngJob& job, RunObserver& observer,
                     const std::atomic<bool>& stop_requested);

// The "?" button's text (caption "提示", information icon).
extern const char* const kPngToolHelpText;

}  // namespace brindle
