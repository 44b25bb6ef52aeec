#include <filesystem>

#include "cli/tool_command.h"
#include "run/list/picture_scan.h"
#include "tools/common/tool_source.h"
#include "tools/convert/convert_tool.h"

namespace brindle::cli {
namespace {

namespace fs = std::filesystem;

constexpr const char* kConvertUsage =
    "用法: brindle-cli convert --source DIR [--recursive] [--out DIR] [--jobs N] [--keep-time]\n"
    "                          [KEY=VALUE ...]\n"
    "\n"
    "  --source DIR   源图片文件夹\n"
    "  --recursive    同时处理所有子文件夹里的图片\n"
    "  --out DIR      格式转换后保存到 DIR (不存在时创建)；不给出时为 \"<源图片文件夹>_处理后\"\n"
    "  --jobs N       同时处理 N 张图片 (1 到处理器数)；不给出时逐张处理\n"
    "  --keep-time    处理后保留原图片的修改时间\n"
    "  KEY=VALUE      设置项, 例如 convert_load_format_option=3 convert_format=PNG\n"
    "                 convert_quality=80 convert_png8=1 convert_png8_color_count=64\n"
    "                 convert_format 可以是 JPG, PNG, WEBP 或 AVIF；原格式 heic 为 2048,\n"
    "                 avif 为 4096, webp 为 256\n"
    "\n"
    "退出状态: 0 全部完成; 1 有图片读取失败或被跳过; 2 参数错误或拒绝处理; 3 被信号停止;\n"
    "          4 因错误中止。\n";

int RunConvert(const Arguments& args) {
  ToolArguments parsed;
  if (!ParseToolArguments(args, {.jobs = true, .keep_time = true}, parsed)) return kUsageError;
  ConvertJob job;
  if (!ApplyToolSettings(parsed, job.settings)) return kExitRefused;
  job.source_folder = parsed.source.value_or("");
  job.include_sub_folders = parsed.recursive;
  job.workers = parsed.jobs.value_or(1);
  job.keep_time = parsed.keep_time;
  if (RefuseRootSource(job.source_folder)) return kExitRefused;
  if (std::optional<Refusal> refusal = ValidateConvertStart(job)) {
    PrintError(refusal->Text());
    return kExitRefused;
  }
  job.source_folder = WithoutTrailingSeparators(job.source_folder);
  job.output_folder = parsed.out ? fs::path(*parsed.out) : DefaultOutputFolder(job.source_folder);

  return RunToolOnConsole([&](RunObserver& observer, const std::atomic<bool>& stop) {
    return RunConvertJob(job, observer, stop);
  });
}

}  // namespace

constexpr Command kConvertCommand{"convert", kConvertUsage, &RunConvert};

}  // namespace brindle::cli
