#pragma once
// The crop tool: one rectangle cut out of every picture of a source folder (optionally with its
// sub-folders) or of a hand-made list of pictures, saved into an output folder as JPEG or PNG (or
// in each picture's own format), or over the source pictures. Overwriting replaces a source only
// with a complete new file, so a failed write leaves it as it was.

#include <atomic>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/refusal.h"
#include "run/batch/run_job.h"
#include "tools/common/tool_settings.h"
#include "tools/crop/crop_geometry.h"

namespace brindle {

// The save choice: neither radio button (as after every run), "处理后保存到" or "直接覆盖原图".
enum class CropSaveMode { kNone, kToFolder, kOverwrite };

// What the window (or brindle-cli) hands over when a run starts. The source type is
// settings.picture_list_source.
struct CropJob {
  std::filesystem::path source_folder;          // folder mode
  bool include_sub_folders = false;             // "同时处理所有子文件夹里的图片"
  std::vector<std::filesystem::path> pictures;  // list mode, in the order added
  CropSaveMode save_mode = CropSaveMode::kNone;
  std::filesystem::path output_folder;  // with kToFolder
  bool keep_format = false;             // "图片格式保持不变"
  CropToolSettings settings;
  int workers = 1;  // pictures cropped at once
  bool keep_time = false;  // each written file gets its source's modification time
};

// Controls the refusals point at (the folder "选择" button is kSourceButton).
inline constexpr const char* kCropJpgBox = "jpg_box";
inline constexpr const char* kCropAddButton = "add_button";
inline constexpr const char* kCropWidthBox = "width_box";  // of the fixed or percentage panel
inline constexpr const char* kCropRatioWidthBox = "ratio_width_box";
inline constexpr const char* kCropRatioHeightBox = "ratio_height_box";
inline constexpr const char* kCropLeftBox = "left_box";  // of the pixel or percent panel
inline constexpr const char* kCropSaveToFolderOption = "save_to_folder_option";
inline constexpr const char* kCropOutputButton = "output_button";

// The checks of "开始裁剪", in order; then, saving into a folder, a missing output folder is made,
// and in folder mode the run list is built (an empty one is refused). On success run_list holds
// the pictures of the run: the folder's matching files, or the picture list.
std::optional<Refusal> ValidateCropStart(const CropJob& job, RunList& run_list);

// The path a picture is written to when saving into folder: its name without the last extension,
// then ".jpg" or ".png" by the format, or with keep_format its own last extension as written;
// numbered "(2)", "(3)", ... while that path is taken.
std::filesystem::path CropTargetPath(const std::filesystem::path& folder,
                                     std::string_view file_name, const CropJob& job);

// Crops one picture and writes it to target (its own path when overwriting).
PictureResult CropOnePicture(const std::filesystem::path& source,
                             const std::filesystem::path& target, const CropJob& job);

// The whole run over the run list ValidateCropStart made; the outcome offers the output folder, or
// the source folder when the sources were overwritten.
RunOutcome RunCropJob(const CropJob& job, RunList run_list, RunObserver& observer,
                      const std::atomic<bool>& stop_requested);

}  // namespace brindle
