#include "cli/tool_command.h"

#include "engine/batch_progress.h"
#include "engine/picture_scan.h"
#include "tools/tool_source.h"

namespace brindle::cli {

bool ParseToolArguments(const Arguments& args, bool allows_overwrite, ToolArguments& parsed) {
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
    if (arg == "--source") {
      if (!value(parsed.source)) return false;
    } else if (arg == "--out") {
      if (!value(parsed.out)) return false;
    } else if (arg == "--recursive") {
      parsed.recursive = true;
    } else if (arg == "--overwrite" && allows_overwrite) {
      parsed.overwrite = true;
    } else if (std::optional<std::pair<std::string, std::string>> setting = SplitKeyValue(arg)) {
      parsed.settings.push_back(*setting);
    } else if (arg.size() > 1 && arg[0] == '-') {
      PrintError("未知的选项: " + arg);
      return false;
    } else {
      PrintError("多余的参数: " + arg);
      return false;
    }
  }
  if (parsed.out && parsed.overwrite) {
    PrintError("--out 和 --overwrite 只能选择一个");
    return false;
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

int FinishToolRun(const ToolOutcome& outcome, Console& console) {
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
