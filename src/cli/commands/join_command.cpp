#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "cli/tool_command.h"
#include "platform/files/file_write.h"
#include "run/list/picture_scan.h"
#include "tools/common/tool_source.h"
#include "tools/common/tool_target_name.h"
#include "tools/join/join_groups.h"
#include "tools/join/join_tool.h"
#include "tools/join/preview/join_preview.h"

namespace brindle::cli {
namespace {

namespace fs = std::filesystem;

constexpr const char* kJoinUsage =
    "用法: brindle-cli join (--source DIR | FILE...) [--out DIR] [KEY=VALUE ...]\n"
    "      brindle-cli join --preview OUT.png (--source DIR | FILE...) [KEY=VALUE ...]\n"
    "\n"
    "  --source DIR     源图片文件夹: 每个子文件夹拼接成一张图片 (没有子文件夹时拼接文件夹本身)\n"
    "  FILE...          选择图片: 按给出的顺序拼接成一张图片 (\"--\" 之后的参数都是文件)\n"
    "  --out DIR        图片拼接后保存到 DIR (不存在时创建)；选择文件夹时不给出则为\n"
    "                   \"<源图片文件夹>_处理后\"\n"
    "  --preview OUT    不拼接, 把预览图片写入 OUT (.png 或 .jpg), 并在标准输出上输出状态栏文字\n"
    "  KEY=VALUE        设置项, 例如 join_layout=2 join_width_or_height_index=3\n"
    "                   join_width_or_height_value=800 join_space=10 join_format=PNG\n"
    "\n"
    "退出状态: 0 全部完成; 1 有图片无法读取或被跳过; 2 参数错误或拒绝处理; 3 被信号停止;\n"
    "          4 因错误中止。\n";

// The job as the window would hold it: the source the arguments name (FILE arguments are the
// picture list; without any source the stored source type stands).
JoinJob MakeJob(const ToolArguments& parsed, const JoinToolSettings& settings) {
  JoinJob job;
  job.settings = settings;
  if (parsed.source) job.settings.picture_list_source = false;
  if (!parsed.files.empty()) job.settings.picture_list_source = true;
  for (const std::string& file : parsed.files) job.pictures.emplace_back(file);
  job.source_folder = parsed.source.value_or("");
  if (!job.source_folder.empty()) job.source_folder = WithoutTrailingSeparators(job.source_folder);
  if (parsed.out) {
    job.output_folder = *parsed.out;
  } else if (!job.settings.picture_list_source && !job.source_folder.empty()) {
    job.output_folder = DefaultOutputFolder(job.source_folder);
  }
  return job;
}

int RunJoinPreview(const ToolArguments& parsed, const JoinJob& job) {
  JoinPreviewRequest request;
  request.settings = job.settings;
  if (job.settings.picture_list_source) {
    request.pictures = job.pictures;
  } else {
    // The source is taken as the folder chooser takes it: it has to have something to join.
    if (std::optional<Refusal> refusal = CheckSourceFolder(job.source_folder)) {
      PrintError(refusal->Text());
      return kExitRefused;
    }
    request.groups = ListJoinGroups(job.source_folder, JoinLoadFormats(job.settings)).groups;
    if (request.groups.empty()) {
      PrintError(NothingToJoinMessage(job.source_folder).text);
      return kExitRefused;
    }
  }

  std::unique_ptr<MagickEnvironment> magick = StartImageMagick();
  if (!magick) return kExitStartupFailed;
  Console console;
  JoinPreview preview = MakeJoinPreview(request);
  for (const std::string& status : {preview.status, preview.status_detail}) {
    if (!status.empty()) std::printf("%s\n", status.c_str());
  }
  std::fflush(stdout);
  for (const RunMessage& message : preview.messages) PrintError(message.text);
  if (preview.display_jpeg.empty()) return kExitRefused;
  std::string error;
  if (!WriteShownPicture(preview.display_jpeg, *parsed.preview, error)) {
    PrintError(error);
    return kExitAborted;
  }
  return preview.troubled > 0 ? kExitSomeFailed : kExitDone;
}

int RunJoin(const Arguments& args) {
  ToolArguments parsed;
  if (!ParseToolArguments(args, {.recursive = false, .list = true}, parsed)) return kUsageError;
  JoinToolSettings settings;
  if (!ApplyToolSettings(parsed, settings)) return kExitRefused;
  const JoinJob job = MakeJob(parsed, settings);
  if (parsed.preview) return RunJoinPreview(parsed, job);

  if (std::optional<Refusal> refusal = ValidateJoinStart(job)) {
    PrintError(refusal->Text());
    // Only the failed creation of the output folder is not a fault of the input.
    return refusal->control.empty() ? kExitAborted : kExitRefused;
  }
  return RunToolOnConsole([&](RunObserver& observer, const std::atomic<bool>& stop) {
    return RunJoinJob(job, observer, stop);
  });
}

}  // namespace

constexpr Command kJoinCommand{"join", kJoinUsage, &RunJoin};

}  // namespace brindle::cli
