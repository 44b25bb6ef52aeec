#include <cstdio>
#include <string>

#include "cli/cli.h"

namespace brindle::cli {

void PrintError(std::string_view text) {
  std::fwrite(text.data(), 1, text.size(), stderr);
  std::fputc('\n', stderr);
}

std::string VersionText() {
  return std::string("Brindle图片批量处理工具(V") + BRINDLE_VERSION + ")";
}

}  // namespace brindle::cli
