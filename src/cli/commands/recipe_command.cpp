#include <cstdio>
#include <filesystem>
#include <string>

#include "cli/cli.h"
#include "recipe/options_file.h"

namespace brindle::cli {
namespace {

constexpr const char* kRecipeUsage =
    "用法: brindle-cli recipe default\n"
    "      brindle-cli recipe normalize FILE\n";

int WriteOut(const std::string& bytes) {
  std::fwrite(bytes.data(), 1, bytes.size(), stdout);
  return std::fflush(stdout) == 0 ? kExitDone : kExitAborted;
}

int RunRecipe(const Arguments& args) {
  if (args.size() == 1 && args[0] == "default") return WriteOut(DefaultOptionsText());
  if (args.size() == 2 && args[0] == "normalize") {
    ProcessingOptions options{};
    std::error_code ec;
    if (std::filesystem::is_directory(args[1], ec) || !ReadOptionsFile(options, args[1])) {
      PrintError("图片处理设置文件:[" + args[1] + "]不存在");
      return kExitRefused;
    }
    return WriteOut(FormatOptionsText(options));
  }
  return kUsageError;
}

}  // namespace

constexpr Command kRecipeCommand{"recipe", kRecipeUsage, &RunRecipe};

}  // namespace brindle::cli
