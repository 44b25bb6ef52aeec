#include <filesystem>
#include <set>

#include "cli/tool_command.h"
#include "tools/common/tool_source.h"
#include "tools/slice/slice_tool.h"

namespace brindle::cli {
namespace {

namespace fs = std::filesystem;

constexpr const char* kSliceUsage =
    "用法: brindle-cli slice --source DIR [--recursive] [--out DIR] [KEY=VALUE ...]\n"
    "\n"
    "  --source DIR   源图片文件夹\n"
    "  --recursive    同时处理所有子文件夹里的图片\n"
    "  --out DIR      切片后保存到 DIR (不存在时创建)；不给出时为 \"<源图片文件夹>_处理后\"\n"
    "  KEY=VALUE      设置项, 例如 slice_horizontal=1 slice_horizontal_avg_value=4\n"
    "                 slice_vertical=1 slice_vertical_pixel=1 slice_vertical_pixel_value=300\n"
    "                 slice_format=PNG slice_png8=1 slice_save_html=0\n"
    "\n"
    "退出状态: 0 全部完成; 1 有图片读取失败或被跳过; 2 参数错误或拒绝处理; 3 被信号停止;\n"
    "          4 因错误中止。\n";

int RunSlice(const Arguments& args) {
  ToolArguments parsed;
  if (!ParseToolArguments(args, {}, parsed)) return kUsageError;
  SliceJob job;
  if (!ApplyToolSettings(parsed, job.settings)) return kExitRefused;
  job.source_folder = parsed.source.value_or("");
  job.include_sub_folders = parsed.recursive;
  // A signal lets the picture in progress be cut to its end.
  job.finish_picture_on_stop = true;
  if (RefuseRootSource(job.source_folder)) return kExitRefused;
  if (std::vector<Refusal> refusals = ValidateSliceStart(job); !refusals.empty()) {
    // The refusal shown at both direction boxes is one text.
    std::set<std::string> printed;
    for (const Refusal& refusal : refusals) {
      if (printed.insert(refusal.Text()).second) PrintError(refusal.Text());
    }
    return kExitRefused;
  }
  job.source_folder = WithoutTrailingSeparators(job.source_folder);
  job.output_folder = parsed.out ? fs::path(*parsed.out) : DefaultOutputFolder(job.source_folder);

  return RunToolOnConsole([&](RunObserver& observer, const std::atomic<bool>& stop) {
    return RunSliceJob(job, observer, stop);
  });
}

}  // namespace

constexpr Command kSliceCommand{"slice", kSliceUsage, &RunSlice};

}  // namespace brindle::cli
