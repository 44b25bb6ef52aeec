#include "cli/console.h"

#include <unistd.h>
#include <csignal>
#include <cstdio>

#include "base/info_log.h"

namespace brindle::cli {
namespace {

std::string WithUnixLineEnds(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    out += text[i];
  }
  return out;
}

std::atomic<bool> stop_request{false};

extern "C" void OnStopSignal(int) { stop_request.store(true); }

}  // namespace

Console::Console() : terminal_(isatty(STDERR_FILENO) == 1) {
  listener_ = InfoLog::Global().AddListener([this](std::string_view text) { PrintLogEntry(text); });
}

Console::~Console() {
  InfoLog::Global().RemoveListener(listener_);
  EndProgress();
}

void Console::PrintLogEntry(std::string_view text) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (progress_shown_) std::fputs("\r\033[K", stderr);
  std::string line = WithUnixLineEnds(text);
  std::fwrite(line.data(), 1, line.size(), stderr);
  std::fputs("\n\n", stderr);
  std::fflush(stderr);
  progress_shown_ = false;
}

void Console::ShowProgress(const std::string& text) {
  if (!terminal_) return;
  std::lock_guard<std::mutex> lock(mutex_);
  std::fprintf(stderr, "\r\033[K%s", text.c_str());
  std::fflush(stderr);
  progress_shown_ = true;
}

void Console::EndProgress() {
  std::lock_guard<std::mutex> lock(mutex_);
  if (progress_shown_) std::fputs("\n", stderr);
  progress_shown_ = false;
}

std::atomic<bool>& StopRequest() { return stop_request; }

void InstallStopSignals() {
  struct sigaction action {};
  action.sa_handler = OnStopSignal;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
}

}  // namespace brindle::cli
