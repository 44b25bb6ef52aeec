#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>
#include <variant>

#include "base/info_log.h"
#include "cli/cli.h"
#include "cli/console.h"
#include "cli/tool_command.h"
#include "run/batch/batch_run.h"
#include "run/list/batch_list.h"

namespace brindle::cli {
namespace {

namespace fs = std::filesystem;

constexpr const char* kBatchUsage =
    "用法: brindle-cli batch [--recipe FILE] (--out DIR [--keep-structure] | --overwrite)\n"
    "                        [--recursive] [--threads-model 1|2] [--jobs N] [--keep-time]\n"
    "                        [KEY=VALUE ...] PATH...\n"
    "\n"
    "  --recipe FILE      图片处理设置文件 (.sz 或 config.dat)；不给出时使用默认设置\n"
    "  --out DIR          处理后保存到 DIR (文件夹必须存在)\n"
    "  --keep-structure   按原文件夹(子文件夹)结构保存图片\n"
    "  --overwrite        直接覆盖原图\n"
    "  --recursive        同时处理所有子文件夹里的图片\n"
    "  --threads-model N  1: 单线程; 2: 按可用内存决定 (默认)\n"
    "  --jobs N           同时处理 N 张图片 (1 到处理器数)，代替 --threads-model 的规则\n"
    "  --keep-time        处理后保留原图片的修改时间\n"
    "  KEY=VALUE          设置项, 例如 bSize=1 sizeValue=750 sy_text=水印;\n"
    "                     outputFormat=WEBP 或 outputFormat=AVIF 代替 JPEG 输出\n"
    "  PATH               图片文件或文件夹 (jpg, png, gif, bmp, tif, psd, heic, avif, webp ...)\n"
    "\n"
    "退出状态: 0 全部完成; 1 有图片处理失败或被跳过; 2 参数错误或拒绝处理; 3 被信号停止;\n"
    "          4 因错误中止。\n";

struct BatchArguments {
  std::optional<std::string> recipe;
  std::optional<std::string> out;
  bool keep_structure = false;
  bool overwrite = false;
  bool recursive = false;
  int threads_model = 2;
  std::optional<int> jobs;
  bool keep_time = false;
  RecipeSettings settings;
  std::vector<std::string> paths;
};

// Parses the command line; a usage text is printed and false returned on any error.
bool ParseBatchArguments(const Arguments& args, BatchArguments& parsed) {
  bool options_ended = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    auto value = [&](std::string& out) {
      if (i + 1 >= args.size()) {
        PrintError("选项 " + arg + " 缺少参数");
        return false;
      }
      out = args[++i];
      return true;
    };
    std::string text;
    if (options_ended) {
      parsed.paths.push_back(arg);
    } else if (arg == "--") {
      options_ended = true;
    } else if (arg == "--recipe") {
      if (!value(text)) return false;
      parsed.recipe = text;
    } else if (arg == "--out") {
      if (!value(text)) return false;
      parsed.out = text;
    } else if (arg == "--keep-structure") {
      parsed.keep_structure = true;
    } else if (arg == "--overwrite") {
      parsed.overwrite = true;
    } else if (arg == "--recursive") {
      parsed.recursive = true;
    } else if (arg == "--threads-model") {
      if (!value(text)) return false;
      if (text != "1" && text != "2") {
        PrintError("--threads-model 只能是 1 或 2");
        return false;
      }
      parsed.threads_model = text == "1" ? 1 : 2;
    } else if (arg == "--jobs") {
      if (!value(text) || !(parsed.jobs = ParseJobCount(text))) return false;
    } else if (arg == "--keep-time") {
      parsed.keep_time = true;
    } else if (arg.size() > 1 && arg[0] == '-') {
      PrintError("未知的选项: " + arg);
      return false;
    } else if (std::optional<std::pair<std::string, std::string>> setting = SplitKeyValue(arg)) {
      parsed.settings.push_back(*setting);
    } else {
      parsed.paths.push_back(arg);
    }
  }
  if (parsed.out && parsed.overwrite) {
    PrintError("--out 和 --overwrite 只能选择一个");
    return false;
  }
  if (parsed.keep_structure && !parsed.out) {
    PrintError("--keep-structure 需要与 --out 一起使用");
    return false;
  }
  if (parsed.paths.empty()) {
    PrintError("请给出要处理的图片文件或文件夹");
    return false;
  }
  return true;
}

int RunBatch(const Arguments& args) {
  BatchArguments parsed;
  if (!ParseBatchArguments(args, parsed)) return kUsageError;
  std::optional<ProcessingOptions> options = LoadRecipe(parsed.recipe, parsed.settings);
  if (!options) return kExitRefused;

  for (const std::string& path : parsed.paths) {
    std::error_code ec;
    if (!fs::exists(path, ec)) {
      PrintError("图片文件或文件夹不存在: " + path);
      return kExitRefused;
    }
  }

  std::unique_ptr<MagickEnvironment> magick = StartImageMagick();
  if (!magick) return kExitStartupFailed;

  // Validation also prepares the watermarks once for the whole run.
  std::optional<RunRecipe> recipe = PrepareRecipe(std::move(*options));
  if (!recipe) return kExitRefused;

  Console console;
  InstallStopSignals();

  // The picture list, in the order of the arguments; a folder's pictures in scan order.
  PictureList list;
  BatchListFill fill = AddPathsToList(
      list, std::vector<fs::path>(parsed.paths.begin(), parsed.paths.end()), parsed.recursive);
  for (const std::string& notice : fill.notices) PrintError(notice);
  if (list.empty()) {
    PrintError("没有找到需要处理的图片");
    return fill.skipped > 0 ? kExitSomeFailed : kExitRefused;
  }

  BatchSettings settings;
  settings.placement = parsed.overwrite ? PlacementMode::kOverwrite
                       : parsed.out     ? PlacementMode::kSaveToFolder
                                        : PlacementMode::kNone;
  settings.target_folder = parsed.out.value_or("");
  settings.keep_structure = parsed.keep_structure;
  settings.keep_time = parsed.keep_time;
  settings.thread_count = parsed.jobs ? *parsed.jobs : BatchThreadCount(parsed.threads_model, list);

  std::vector<PictureEntry> entries = list.entries();
  if (std::optional<Refusal> refusal = PrepareBatchRun(settings, entries)) {
    PrintError(refusal->Text());
    return refusal->kind == RefusalKind::kFailure ? kExitAborted : kExitRefused;
  }

  RunOutcome outcome =
      RunJobOnConsole(console, [&](RunObserver& observer, const std::atomic<bool>& stop_requested) {
        return RunBatch(*recipe, settings, entries, observer, stop_requested);
      });
  outcome.failed += fill.skipped;
  return ExitStatusOf(outcome);
}

}  // namespace

constexpr Command kBatchCommand{"batch", kBatchUsage, &RunBatch};

}  // namespace brindle::cli
