#include "base/info_log.h"

#include <cstdarg>
#include <cstdio>

#include "platform/text/text_encoding.h"

namespace brindle {

void InfoLog::Append(std::string_view text) {
  std::lock_guard<std::mutex> lock(mutex_);
  static constexpr std::string_view kSeparator = "\r\n\r\n";
  std::size_t added = Utf8CharacterCount(text) + kSeparator.size();
  if (characters_ + added >= kTextLimit) {
    std::size_t half = characters_ / 2;
    std::size_t cut = Utf8OffsetOfCharacter(text_, half);
    text_.erase(0, cut);
    characters_ -= half;
    if (characters_ + added >= kTextLimit) {
      text_.clear();
      characters_ = 0;
    }
  }
  text_.append(text);
  text_.append(kSeparator);
  characters_ += added;
  for (const auto& [id, listener] : listeners_) listener(text);
}

std::string InfoLog::Text() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return text_;
}

void InfoLog::Clear() {
  std::lock_guard<std::mutex> lock(mutex_);
  text_.clear();
  characters_ = 0;
}

int InfoLog::AddListener(Listener listener) {
  std::lock_guard<std::mutex> lock(mutex_);
  int id = next_listener_id_++;
  listeners_.emplace_back(id, std::move(listener));
  return id;
}

void InfoLog::RemoveListener(int id) {
  std::lock_guard<std::mutex> lock(mutex_);
  std::erase_if(listeners_, [id](const auto& entry) { return entry.first == id; });
}

InfoLog& InfoLog::Global() {
  static InfoLog log;
  return log;
}

namespace {
thread_local ThreadLogCapture* current_capture = nullptr;
}  // namespace

ThreadLogCapture::ThreadLogCapture() : outer_(current_capture) { current_capture = this; }

ThreadLogCapture::~ThreadLogCapture() { current_capture = outer_; }

void LogInfo(std::string_view text) {
  InfoLog::Global().Append(text);
  for (ThreadLogCapture* capture = current_capture; capture; capture = capture->outer_) {
    if (!capture->text_.empty()) capture->text_.append("\r\n");
    capture->text_.append(text);
  }
}

std::string FormatMessage(const char* format, ...) {
  va_list args;
  va_start(args, format);
  va_list copy;
  va_copy(copy, args);
  int length = std::vsnprintf(nullptr, 0, format, copy);
  va_end(copy);
  std::string text;
  if (length > 0) {
    text.resize(static_cast<std::size_t>(length) + 1);
    std::vsnprintf(text.data(), text.size(), format, args);
    text.resize(static_cast<std::size_t>(length));
  }
  va_end(args);
  return text;
}

}  // namespace brindle
