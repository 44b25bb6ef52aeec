#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>

#include "cli/cli.h"
#include "cli/console.h"
#include "engine/read/picture_classify.h"
#include "run/list/picture_entry.h"
#include "run/preview/effect_preview.h"

namespace brindle::cli {
namespace {

namespace fs = std::filesystem;

constexpr const char* kPreviewUsage =
    "用法: brindle-cli preview FILE --to OUT.jpg [--recipe FILE] [KEY=VALUE ...]\n"
    "\n"
    "  FILE           要预览的图片\n"
    "  --to OUT       把效果预览图片写入 OUT (.jpg 或 .png), 并在标准输出上输出两行状态栏文字\n"
    "                 (原图 ... 与 处理后图片 ...)\n"
    "  --recipe FILE  图片处理设置文件 (.sz 或 config.dat)；不给出时使用默认设置\n"
    "  KEY=VALUE      设置项, 例如 bSize=1 sizeValue=750 sy_text=水印\n"
    "\n"
    "退出状态: 0 已生成预览; 1 图片无法处理; 2 参数错误或拒绝处理; 4 预览图片无法保存。\n";

struct PreviewArguments {
  std::string file;
  std::string to;
  std::optional<std::string> recipe;
  RecipeSettings settings;
};

// Parses the command line; the reason is printed and false returned on any error.
bool ParsePreviewArguments(const Arguments& args, PreviewArguments& parsed) {
  std::vector<std::string> files;
  bool options_ended = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const bool takes_value = !options_ended && (arg == "--to" || arg == "--recipe");
    if (takes_value && i + 1 >= args.size()) {
      PrintError("选项 " + arg + " 缺少参数");
      return false;
    }
    if (options_ended) {
      files.push_back(arg);
    } else if (arg == "--") {
      options_ended = true;
    } else if (arg == "--to") {
      parsed.to = args[++i];
    } else if (arg == "--recipe") {
      parsed.recipe = args[++i];
    } else if (arg.size() > 1 && arg[0] == '-') {
      PrintError("未知的选项: " + arg);
      return false;
    } else if (std::optional<std::pair<std::string, std::string>> setting = SplitKeyValue(arg)) {
      parsed.settings.push_back(*setting);
    } else {
      files.push_back(arg);
    }
  }
  if (files.size() != 1) {
    PrintError("请给出一张要预览的图片");
    return false;
  }
  parsed.file = files.front();
  if (parsed.to.empty()) {
    PrintError("请用 --to 给出预览图片的文件名");
    return false;
  }
  if (!IsPreviewFileName(parsed.to)) {
    PrintError("--to 的文件名须以 .jpg 或 .png 结尾: " + parsed.to);
    return false;
  }
  return true;
}

int RunPreview(const Arguments& args) {
  PreviewArguments parsed;
  if (!ParsePreviewArguments(args, parsed)) return kUsageError;
  std::optional<ProcessingOptions> options = LoadRecipe(parsed.recipe, parsed.settings);
  if (!options) return kExitRefused;
  std::error_code ec;
  if (!fs::is_regular_file(parsed.file, ec)) {
    PrintError("图片文件不存在: " + parsed.file);
    return kExitRefused;
  }

  std::unique_ptr<MagickEnvironment> magick = StartImageMagick();
  if (!magick) return kExitStartupFailed;
  std::optional<RunRecipe> recipe = PrepareRecipe(std::move(*options));
  if (!recipe) return kExitRefused;
  Console console;

  // The picture is taken as the list takes it, so that a file the list refuses is not previewed.
  PictureList list;
  const PictureList::Classifier classify = [](const fs::path& path) {
    return ClassifyPictureFile(path);
  };
  if (list.Add(parsed.file, "", classify, /*parse_file_format=*/true) ==
      PictureList::AddResult::kRefused) {
    return kExitSomeFailed;
  }
  std::optional<EffectPreview> preview =
      MakeEffectPreview(*recipe, list[0].path, /*flip=*/0, /*rotation=*/0);
  if (!preview) return kExitSomeFailed;
  std::string error;
  if (!WriteShownPicture(preview->display_jpeg, parsed.to, error)) {
    PrintError("预览图片保存失败: " + parsed.to + ": " + error);
    return kExitAborted;
  }
  std::printf("%s\n%s\n", preview->source_status.c_str(), preview->result_status.c_str());
  return kExitDone;
}

}  // namespace

constexpr Command kPreviewCommand{"preview", kPreviewUsage, &RunPreview};

}  // namespace brindle::cli
