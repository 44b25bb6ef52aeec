#include <filesystem>

#include "cli/tool_command.h"
#include "run/list/picture_scan.h"
#include "tools/common/tool_source.h"
#include "tools/png/png_tool.h"

namespace brindle::cli {
namespace {

namespace fs = std::filesystem;

constexpr const char* kPngUsage =
    "用法: brindle-cli png --source DIR [--recursive] [--out DIR | --overwrite] [--jobs N]\n"
    "                      [--keep-time] [KEY=VALUE ...]\n"
    "\n"
    "  --source DIR   源图片文件夹 (处理其中的 *.png 文件)\n"
    "  --recursive    同时处理所有子文件夹里的图片\n"
    "  --out DIR      处理后保存到 DIR (不存在时创建)；不给出时为 \"<源图片文件夹>_处理后\"\n"
    "  --overwrite    直接覆盖原图\n"
    "  --jobs N       同时处理 N 张图片 (1 到处理器数)；不给出时逐张处理\n"
    "  --keep-time    处理后保留原图片的修改时间\n"
    "  KEY=VALUE      设置项, 例如 png_zoom_status=1 png_zoom_1=0 png_zoom_2=0\n"
    "                 png_zoom_value=800 png_png8=1 png_png8_color_count=128\n"
    "\n"
    "退出状态: 0 全部完成; 1 有图片读取失败或被跳过; 2 参数错误或拒绝处理; 3 被信号停止;\n"
    "          4 因错误中止。\n";

int RunPng(const Arguments& args) {
  ToolArguments parsed;
  if (!ParseToolArguments(args, {.overwrite = true, .jobs = true, .keep_time = true}, parsed)) {
    return kUsageError;
  }
  PngJob job;
  if (!ApplyToolSettings(parsed, job.settings)) return kExitRefused;
  job.source_folder = parsed.source.value_or("");
  job.include_sub_folders = parsed.recursive;
  job.workers = parsed.jobs.value_or(1);
  job.keep_time = parsed.keep_time;
  job.save_mode = parsed.overwrite ? PngSaveMode::kOverwrite : PngSaveMode::kToFolder;
  if (RefuseRootSource(job.source_folder)) return kExitRefused;
  if (std::optional<Refusal> refusal = ValidatePngStart(job)) {
    PrintError(refusal->Text());
    return kExitRefused;
  }
  job.source_folder = WithoutTrailingSeparators(job.source_folder);
  if (!parsed.overwrite) {
    job.output_folder = parsed.out ? fs::path(*parsed.out) : DefaultOutputFolder(job.source_folder);
  }

  return RunToolOnConsole([&](RunObserver& observer, const std::atomic<bool>& stop) {
    return RunPngJob(job, observer, stop);
  });
}

}  // namespace

constexpr Command kPngCommand{"png", kPngUsage, &RunPng};

}  // namespace brindle::cli
