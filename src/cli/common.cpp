#include <cstdio>
#include <string>

#include "cli/cli.h"
#include "engine/info_log.h"

namespace brindle::cli {

void PrintError(std::string_view text) {
  std::fwrite(text.data(), 1, text.size(), stderr);
  std::fputc('\n', stderr);
}

InfoLogEcho::InfoLogEcho() {
  listener_ = InfoLog::Global().AddListener([](std::string_view text) {
    std::string line;
    line.reserve(text.size() + 2);
    for (std::size_t i = 0; i < text.size(); ++i) {
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
      line.push_back(text[i]);
    }
    line.append("\n\n");
    std::fwrite(line.data(), 1, line.size(), stderr);
    std::fflush(stderr);
  });
}

InfoLogEcho::~InfoLogEcho() { InfoLog::Global().RemoveListener(listener_); }

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

std::string VersionText() {
  return std::string("Brindle图片批量处理工具(V") + BRINDLE_VERSION + ")";
}

}  // namespace brindle::cli
