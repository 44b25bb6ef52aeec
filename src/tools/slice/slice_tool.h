#pragma once
// The slice tool: every picture of a source folder (optionally with its sub-folders) cut into a
// grid of tiles, each saved as a picture of its own and numbered in reading order, into an output
// folder that mirrors the sub-folders; optionally with an HTML page per picture that puts the
// tiles back together. One picture and one tile are held at a time.

#include <atomic>
#include <filesystem>
#include <string>
#include <vector>

#include "base/refusal.h"
#include "run/batch/run_job.h"
#include "tools/common/output_options.h"
#include "tools/common/tool_settings.h"
#include "tools/slice/slice_geometry.h"
#include "tools/slice/slice_page.h"

namespace brindle {

// What the window (or brindle-cli) hands over when a run starts.
struct SliceJob {
  std::filesystem::path source_folder;
  bool include_sub_folders = false;     // "同时处理所有子文件夹里的图片"
  std::filesystem::path output_folder;  // empty: the default proposal for the source
  SliceToolSettings settings;
  // The window stops a run between rows and tiles, leaving that picture unfinished; brindle-cli
  // finishes the picture in progress and stops only between pictures.
  bool finish_picture_on_stop = false;
};

// The controls the refusals point at.
inline constexpr const char* kSliceJpgBox = "load_jpg_box";
inline constexpr const char* kHorizontalBox = "horizontal_box";
inline constexpr const char* kVerticalBox = "vertical_box";
inline constexpr const char* kHorizontalAvgValueBox = "horizontal_avg_value_box";
inline constexpr const char* kHorizontalPixelValueBox = "horizontal_pixel_value_box";
inline constexpr const char* kVerticalAvgValueBox = "vertical_avg_value_box";
inline constexpr const char* kVerticalPixelValueBox = "vertical_pixel_value_box";

// The checks of "开始处理", in order: source empty, source missing, no load format ticked, no
// direction on, the rows' box, the columns' box. The refusals of the first check that fails (two,
// one at each direction's check box, when neither is on); none when the run may start.
std::vector<Refusal> ValidateSliceStart(const SliceJob& job);

// A direction's mode: pixels when its pixel radio is on, else the even count (also when neither
// radio is on, as after loading values that tick neither).
SliceDirection SliceRowsOf(const SliceToolSettings& settings);
SliceDirection SliceColumnsOf(const SliceToolSettings& settings);

// Ticks exactly the radio of each direction's mode, as the window shows them after loading.
void SettleSliceRadios(SliceToolSettings& settings);

// The settings a run works with.
struct SliceRunSettings : ToolEncoding {
  SliceDirection rows;
  SliceDirection columns;
  bool sub_folder = false;  // "切片保存到以文件名命名的子文件夹里"
  bool html = true;         // "生成HTML代码"
};

SliceRunSettings SliceRunSettingsOf(const SliceToolSettings& settings);

// Cuts one picture into its tiles under output_folder and, with the page on, writes its page (built
// in page). With stop given, a stop request seen before a row or a tile leaves the picture
// unfinished and its page unwritten.
PictureResult SlicePicture(const ToolPicture& picture, const std::filesystem::path& output_folder,
                           const SliceRunSettings& run, SlicePage& page,
                           const std::atomic<bool>* stop);

// The whole run; the outcome offers the output folder.
RunOutcome RunSliceJob(const SliceJob& job, RunObserver& observer,
                       const std::atomic<bool>& stop_requested);

}  // namespace brindle
