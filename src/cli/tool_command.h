#pragma once
// What the tool commands share: their options, the KEY=VALUE settings applied with the tool's
// load rules, running a job on the console, and the exit status of a run's outcome.

#include <atomic>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "base/info_log.h"
#include "cli/cli.h"
#include "cli/console.h"
#include "run/batch/run_job.h"
#include "tools/common/tool_settings.h"

namespace brindle::cli {

struct ToolArguments {
  std::optional<std::string> source;   // --source
  bool recursive = false;              // --recursive
  std::optional<std::string> out;      // --out
  bool overwrite = false;              // --overwrite
  bool keep_format = false;            // --keep-format
  std::optional<std::string> preview;  // --preview OUT
  std::optional<int> jobs;             // --jobs N
  bool keep_time = false;              // --keep-time
  std::vector<std::string> files;      // FILE arguments: the picture-list source
  std::vector<std::pair<std::string, std::string>> settings;
};

// What a tool command takes besides --source, --out and its settings.
struct ToolOptions {
  bool recursive = true;     // --recursive
  bool overwrite = false;    // --overwrite
  bool keep_format = false;  // --keep-format
  bool list = false;         // FILE arguments and --preview OUT
  bool jobs = false;         // --jobs N
  bool keep_time = false;    // --keep-time
};

// Parses a tool command's arguments; "--" ends the options (what follows are FILE arguments). A
// usage error is printed and false returned.
bool ParseToolArguments(const Arguments& args, const ToolOptions& options, ToolArguments& parsed);

// The file-system root cannot be a source folder: prints the refusal and returns true.
bool RefuseRootSource(const std::string& source_folder);

// Applies the KEY=VALUE settings on top of the tool's defaults. An unknown key or a value that is
// not a number where a number is stored is printed and false returned.
template <typename Settings>
bool ApplyToolSettings(const ToolArguments& args, Settings& settings) {
  for (const auto& [key, value] : args.settings) {
    if (!ReportSettingResult(AssignToolSetting(settings, key, value), key, value)) return false;
  }
  return true;
}

// Runs a job on a RunWorker with its progress on the terminal and paths left out printed as they
// are met; SIGINT and SIGTERM (after InstallStopSignals) ask it to stop. Prints the outcome's
// message and returns the outcome.
RunOutcome RunJobOnConsole(Console& console, const RunJob& job);

// The exit status of a run's outcome.
int ExitStatusOf(const RunOutcome& outcome);

// Starts ImageMagick and the stop signals, runs the tool's job on the console and returns the exit
// status.
int RunToolOnConsole(const RunJob& job);

}  // namespace brindle::cli
