#include "cli/tool_command.h"

#include <filesystem>
#include <system_error>

#include "run/batch/batch_progress.h"
#include "run/list/picture_scan.h"
#include "tools/common/tool_source.h"

namespace brindle::cli {

namespace fs = std::filesystem;

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
    } else if (arg == "--jobs" && options.jobs) {
      std::optional<std::string> count;
      if (!value(count) || !(parsed.jobs = ParseJobCount(*count))) return false;
    } else if (arg == "--keep-time" && options.keep_time) {
      parsed.keep_time = true;
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
  // Folders as the tools name them in what they write (the slice page's tile addresses, the
  // completion's folder) must not depend on the working folder.
  for (std::optional<std::string>* folder : {&parsed.source, &parsed.out}) {
    std::error_code ec;
    if (*folder && !(*folder)->empty()) {
      fs::path absolute = fs::absolute(**folder, ec);
      if (!ec) **folder = absolute.string();
    }
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

bool RefuseRootSource(const std::string& source_folder) {
  if (source_folder.empty() || !IsFileSystemRoot(source_folder)) return false;
  PrintError(ChosenRootRefusal(source_folder).text);
  return true;
}

namespace {

class ConsoleObserver : public RunObserver {
 public:
  explicit ConsoleObserver(Console& console) : console_(console) {}
  void OnPictureStarted(int index, int count) override {
    console_.ShowProgress(BatchProgressText(count, index + 1));
  }
  void OnLeftOut(const LongPathNotice& notice) override {
    console_.EndProgress();
    PrintError(notice.message);
  }
  void OnRunEnded(const RunOutcome& outcome) override { outcome_ = outcome; }
  const RunOutcome& outcome() const { return outcome_; }

 private:
  Console& console_;
  RunOutcome outcome_;
};

}  // namespace

RunOutcome RunJobOnConsole(Console& console, const RunJob& job) {
  ConsoleObserver observer(console);
  RunWorker worker;
  if (!worker.Start(job, observer)) {
    PrintError(kThreadStartFailure);
    RunOutcome failed;
    failed.end = RunEnd::kAborted;
    return failed;
  }
  while (!worker.WaitFor(std::chrono::milliseconds(50))) {
    if (StopRequest().load()) worker.RequestStop();
  }
  worker.Wait();
  console.EndProgress();
  const RunOutcome& outcome = observer.outcome();
  if (outcome.message) PrintError(outcome.message->text);
  return outcome;
}

int ExitStatusOf(const RunOutcome& outcome) {
  switch (outcome.end) {
    case RunEnd::kCompleted:
      return outcome.failed > 0 || outcome.left_out > 0 ? kExitSomeFailed : kExitDone;
    case RunEnd::kStopped:
      return kExitStopped;
    case RunEnd::kNothingFound:
      return outcome.left_out > 0 ? kExitSomeFailed : kExitRefused;
    case RunEnd::kAborted:
      return kExitAborted;
  }
  return kExitAborted;
}

int RunToolOnConsole(const RunJob& job) {
  std::unique_ptr<MagickEnvironment> magick = StartImageMagick();
  if (!magick) return kExitStartupFailed;
  Console console;
  InstallStopSignals();
  return ExitStatusOf(RunJobOnConsole(console, job));
}

}  // namespace brindle::cli
