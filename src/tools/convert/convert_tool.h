#pragma once
// The format conversion tool: every picture of a source folder (optionally with its sub-folders)
// whose format is selected, written as JPEG, PNG, WebP or AVIF into an output folder that mirrors the
// sub-folders. The sources are never overwritten, and a JPEG's quality is never raised.

#include <atomic>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "base/refusal.h"
#include "run/batch/run_job.h"
#include "tools/common/output_options.h"
#include "tools/common/tool_settings.h"

namespace brindle {

// What the window (or brindle-cli) hands over when a run starts.
struct ConvertJob {
  std::filesystem::path source_folder;
  bool include_sub_folders = false;  // "同时处理所有子文件夹里的图片"
  std::filesystem::path output_folder;
  ConvertToolSettings settings;
  int workers = 1;  // pictures converted at once
  bool keep_time = false;  // each written file gets its source's modification time
};

// The control the empty-mask refusal points at: the label "原格式：".
inline constexpr const char* kLoadFormatLabel = "load_format_label";

// The checks of "开始转换", in order: source empty, source missing, no format ticked.
std::optional<Refusal> ValidateConvertStart(const ConvertJob& job);

// The settings a run works with, as the chosen format makes them.
struct ConvertRunSettings : ToolEncoding {
  bool keep_extension = false;
};

ConvertRunSettings ConvertRunSettingsOf(const ConvertToolSettings& settings);

// The path a picture is written to: in folder, its name without the last extension (or, keeping
// the extension, its whole name unless it already ends with the target extension) with the target
// extension, numbered "(2)", "(3)", ... while that path is taken.
std::filesystem::path ConvertTargetPath(const std::filesystem::path& folder,
                                        std::string_view file_name, const ConvertRunSettings& run);

// Converts one picture into target (a ConvertTargetPath in the output folder's mirror of the
// picture's folder).
PictureResult ConvertPicture(const std::filesystem::path& source,
                             const std::filesystem::path& target, const ConvertRunSettings& run);

// The whole run (the worker's work); the outcome offers the output folder.
RunOutcome RunConvertJob(const ConvertJob& job, RunObserver& observer,
                         const std::atomic<bool>& stop_requested);

// The keep-extension box's text for the chosen format.
std::string KeepExtensionLabel(ToolOutputFormat format);

}  // namespace brindle
