#pragma once
// What brindle-cli shows while it works: every information-log entry on standard error as it is
// appended (followed by a blank line), and, when standard error is a terminal, one self-updating
// progress line.

#include <atomic>
#include <mutex>
#include <string>
#include <string_view>

namespace brindle::cli {

class Console {
 public:
  Console();
  ~Console();
  Console(const Console&) = delete;
  Console& operator=(const Console&) = delete;

  // Replaces the progress line (only on a terminal).
  void ShowProgress(const std::string& text);
  // Ends the progress line so that what follows starts on a fresh line.
  void EndProgress();

 private:
  void PrintLogEntry(std::string_view text);

  const bool terminal_;
  std::mutex mutex_;
  bool progress_shown_ = false;
  int listener_ = 0;
};

// The stop request that SIGINT and SIGTERM set.
std::atomic<bool>& StopRequest();
void InstallStopSignals();

}  // namespace brindle::cli
