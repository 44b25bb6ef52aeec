#include <cstdio>
#include <string>

#include "cli/cli.h"
#include "engine/info_log.h"

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

std::string VersionText() {
  return std::string("Brindle图片批量处理工具(V") + BRINDLE_VERSION + ")";
}

}  // namespace brindle::cli
