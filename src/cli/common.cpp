#include <charconv>
#include <cstdio>
#include <string>
#include <system_error>

#include "base/info_log.h"
#include "cli/cli.h"
#include "platform/files/app_folders.h"
#include "platform/text/text_encoding.h"
#include "recipe/options_file.h"
#include "run/batch/thread_count.h"

namespace brindle::cli {

void PrintError(std::string_view text) {
  std::fwrite(text.data(), 1, text.size(), stderr);
  std::fputc('\n', stderr);
}

bool SplitFileArguments(const Arguments& args, Arguments& files, std::string* unknown_option) {
  bool options_ended = false;
  for (const std::string& arg : args) {
    if (!options_ended && arg == "--") {
      options_ended = true;
    } else if (!options_ended && arg.size() > 1 && arg[0] == '-') {
      if (unknown_option) *unknown_option = arg;
      return false;
    } else {
      files.push_back(arg);
    }
  }
  return true;
}

std::optional<int> ParseJobCount(const std::string& text) {
  const unsigned processors = ReadMachineFacts().processors;
  int count = 0;
  const char* end = text.data() + text.size();
  auto [stop, error] = std::from_chars(text.data(), end, count);
  if (error != std::errc() || stop != end || count < 1 ||
      static_cast<unsigned>(count) > processors) {
    PrintError(FormatMessage("--jobs 只能是 1 到 %u 之间的整数: %s", processors, text.c_str()));
    return std::nullopt;
  }
  return count;
}

std::optional<std::pair<std::string, std::string>> SplitKeyValue(const std::string& arg) {
  std::size_t equals = arg.find('=');
  if (equals == std::string::npos || equals == 0) return std::nullopt;
  for (std::size_t i = 0; i < equals; ++i) {
    char c = arg[i];
    bool word =
        (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
    if (!word) return std::nullopt;
  }
  return std::make_pair(arg.substr(0, equals), arg.substr(equals + 1));
}

bool ApplyRecipeSetting(ProcessingOptions& options, const std::string& key,
                        const std::string& value) {
  // The reader skips a line whose value is too long; a setting given here is treated the same.
  if (GbkLength(value) > kMaxOptionValueBytes) return true;
  return ReportSettingResult(AssignOption(options, key, value), key, value);
}

bool ReportSettingResult(OptionAssignResult result, const std::string& key,
                         const std::string& value) {
  switch (result) {
    case OptionAssignResult::kApplied:
      return true;
    case OptionAssignResult::kUnknownKey:
      PrintError("未知的设置项: " + key);
      return false;
    case OptionAssignResult::kNotANumber:
      if (key == "outputFormat") {
        PrintError("设置项 outputFormat 只能是 JPG、WEBP 或 AVIF: " + value);
        return false;
      }
      PrintError("设置项 " + key + " 的值不是数字: " + value);
      return false;
  }
  return false;
}

std::unique_ptr<MagickEnvironment> StartImageMagick() {
  auto magick =
      std::make_unique<MagickEnvironment>(AppFolders::ForCurrentUser().MagickConfigFolder());
  if (magick->usable()) return magick;
  PrintError(magick->error());
  return nullptr;
}

}  // namespace brindle::cli
