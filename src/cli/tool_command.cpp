#include "cli/tool_command.h"

#include "run/batch_progress.h"
#include "run/picture_scan.h"
#include "tools/tool_source.h"

namespace brindle::cli {

bool ParseToolArguments(const Arguments& args, const ToolOptions& options, ToolArguments& parsed) {
  bool options_ended = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    auto value = [&](std::optional<std::string>& out) {
      if (i + 1 >= args.size()) {
        PrintError("选项 " + arg + " 缺少参数");
        return false;
      }
      out = args[++i];
      return true;
    };
    if (options_ended) {
      parsed.files.push_back(arg);
    } else if (arg == "--" && options.list) {
      options_ended = true;
    } else if (arg == "--source") {
      if (!value(parsed.source)) return false;
    } else if (arg == "--out") {
      if (!value(parsed.out)) return false;
    } else if (arg == "--preview" && options.list) {
      if (!value(parsed.preview)) return false;
    } else if (arg == "--recursive" && options.recursive) {
      parsed.recursive = true;
    } else if (arg == "--overwrite" && options.overwrite) {
      parsed.overwrite = true;
    } else if (arg == "--keep-format" && options.keep_format) {
      parsed.keep_format = true;
    } else if (std::optional<std::pair<std::string, std::string>> setting = SplitKeyValue(arg)) {
      parsed.settings.push_back(*setting);
    } else if (arg.size() > 1 && arg[0] == '-') {
      PrintError("未知的选项: " + arg);
      return false;
    } else if (options.list) {
      parsed.files.push_back(arg);
    } else {
      PrintError("多余的参数: " + arg);
      return false;
    }
  }
  if (parsed.out && parsed.overwrite) {
    PrintError("--out 和 --overwrite 只能选择一个");
    return false;
  }
  if (parsed.source && !parsed.files.empty()) {
    PrintError("--source 和 FILE 只能选择一个");
    return false;
  }
  if (parsed.preview) {
    if (parsed.out || parsed.overwrite) {
      PrintError("--preview 不能与 --out 或 --overwrite 一起使用");
      return false;
    }
    if (!IsPreviewFileName(*parsed.preview)) {
      PrintError("--preview 的文件名须以 .png、.jpg 或 .jpeg 结尾: " + *parsed.preview);
      return false;
    }
  }
  return true;
}

void ToolConsoleObserver::OnPictureStarted(int index, int count) {
  console_.ShowProgress(BatchProgressText(count, index + 1));
}

void ToolConsoleObserver::OnLeftOut(const LongPathNotice& notice) {
  console_.EndProgress();
  PrintError(notice.message);
}

bool RefuseRootSource(const std::string& source_folder) {
  if (source_folder.empty() || !IsFileSystemRoot(source_folder)) return false;
  PrintError(ChosenRootRefusal(source_folder).text);
  return true;
}

int RunToolOnConsole(const ToolRun& run) {
  std::unique_ptr<MagickEnvironment> magick = StartImageMagick();
  if (!magick) return kExitStartupFailed;
  Console console;
  InstallStopSignals();
  ToolConsoleObserver observer(console);
  const ToolOutcome outcome = run(observer, StopRequest());
  console.EndProgress();
  if (outcome.message) PrintError(outcome.message->text);
  switch (outcome.end) {
    case ToolRunEnd::kCompleted:
      return outcome.unreadable > 0 || outcome.left_out > 0 ? kExitSomeFailed : kExitDone;
    case ToolRunEnd::kStopped:
      return kExitStopped;
    case ToolRunEnd::kNothingFound:
      return outcome.left_out > 0 ? kExitSomeFailed : kExitRefused;
    case ToolRunEnd::kAborted:
      return kExitAborted;
  }
  return kExitAborted;
}

}  // namespace brindle::cli
