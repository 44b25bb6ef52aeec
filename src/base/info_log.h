#pragma once
// The process-wide information log ("信息 - F2"): per-picture failures and notices in the program's
// words. Any thread may append. Each text is followed by "\r\n\r\n"; when the log would reach its
// limit, the older half of its text is dropped first (at a character boundary). Listeners see every
// appended text as it is appended (the desktop window, brindle-cli's standard error).

#include <cstddef>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace brindle {

class InfoLog {
 public:
  // The information window's text limit, in characters.
  static constexpr std::size_t kTextLimit = 64000 - 1;

  using Listener = std::function<void(std::string_view text)>;

  void Append(std::string_view text);
  std::string Text() const;
  void Clear();

  // Listeners are called under the log's lock, in the order of appending; they must not append.
  int AddListener(Listener listener);
  void RemoveListener(int id);

  static InfoLog& Global();

 private:
  mutable std::mutex mutex_;
  std::string text_;
  std::size_t characters_ = 0;
  std::vector<std::pair<int, Listener>> listeners_;
  int next_listener_id_ = 1;
};

// Appends to the process-wide log, and to every ThreadLogCapture of the calling thread.
void LogInfo(std::string_view text);

// While it lives, collects the texts its thread logs with LogInfo (joined by "\r\n"): a run
// keeps what was logged for one picture as that picture's reason. Captures nest.
class ThreadLogCapture {
 public:
  ThreadLogCapture();
  ~ThreadLogCapture();
  ThreadLogCapture(const ThreadLogCapture&) = delete;
  ThreadLogCapture& operator=(const ThreadLogCapture&) = delete;

  std::string Take() { return std::move(text_); }

 private:
  friend void LogInfo(std::string_view text);
  std::string text_;
  ThreadLogCapture* outer_;
};

// printf-style formatting of the program's message templates ("%s", "%d", ...).
std::string FormatMessage(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace brindle
