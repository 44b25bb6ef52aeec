#include <cstdio>
#include <iostream>

#include "base/product_name.h"
#include "cli/cli.h"

namespace brindle::cli {
namespace {

constexpr const char* kUsage =
    "用法: brindle-cli COMMAND [OPTIONS] [KEY=VALUE ...] [PATH ...]\n"
    "\n"
    "命令:\n"
    "  recipe default              输出默认的图片处理设置 (GBK, CR LF)\n"
    "  recipe normalize FILE       读取设置文件并按标准格式输出\n"
    "  batch [选项] [KEY=VALUE ...] PATH...\n"
    "                              按图片处理设置批量处理图片 (详见 batch --help)\n"
    "  convert --source DIR [--recursive] [--out DIR] [KEY=VALUE ...]\n"
    "                              图片批量格式转换 (详见 convert --help)\n"
    "  png --source DIR [--recursive] [--out DIR | --overwrite] [KEY=VALUE ...]\n"
    "                              PNG图片批量处理 (详见 png --help)\n"
    "  crop (--source DIR [--recursive] | FILE...) [--out DIR | --overwrite] [--keep-format]\n"
    "       [--preview OUT.png] [KEY=VALUE ...]\n"
    "                              图片批量裁剪 (详见 crop --help)\n"
    "  join (--source DIR | FILE...) [--out DIR] [--preview OUT.png] [KEY=VALUE ...]\n"
    "                              图片批量拼接 (详见 join --help)\n"
    "  slice --source DIR [--recursive] [--out DIR] [KEY=VALUE ...]\n"
    "                              图片批量切片 (详见 slice --help)\n"
    "  preview FILE --to OUT.jpg [--recipe FILE] [KEY=VALUE ...]\n"
    "                              图片处理效果预览 (详见 preview --help)\n"
    "  info FILE...                每个文件输出一行图片信息 (尺寸, 类型, 大小)\n"
    "  classify FILE...            每个文件输出一行图片类型: JPEG PNG GIF BMP PSD TIFF,\n"
    "                              或 0 (无法打开), -1 (GIF动画), -2 (未知格式)\n"
    "\n"
    "选项:\n"
    "  -h, --help                  显示帮助\n"
    "  --version                   显示版本\n";

// In the order the usage lists them.
constexpr const Command* kCommands[] = {&kRecipeCommand, &kBatchCommand,   &kConvertCommand,
                                        &kPngCommand,    &kCropCommand,    &kJoinCommand,
                                        &kSliceCommand,  &kPreviewCommand, &kInfoCommand,
                                        &kClassifyCommand};

// "--help" or "-h" first prints the usage; otherwise the command runs, and a usage error prints
// the usage on standard error.
int RunCommand(const Command& command, const Arguments& args) {
  if (!args.empty() && (args[0] == "-h" || args[0] == "--help")) {
    std::fputs(command.usage, stdout);
    return kExitDone;
  }
  const int status = command.run(args);
  if (status != kUsageError) return status;
  std::fputs(command.usage, stderr);
  return kExitRefused;
}

}  // namespace
}  // namespace brindle::cli

int main(int argc, char** argv) {
  using namespace brindle::cli;
  Arguments args(argv + 1, argv + argc);
  if (args.empty()) {
    std::fputs(kUsage, stderr);
    return kExitRefused;
  }
  const std::string command = args.front();
  Arguments rest(args.begin() + 1, args.end());
  if (command == "-h" || command == "--help") {
    std::fputs(kUsage, stdout);
    return kExitDone;
  }
  if (command == "--version") {
    std::cout << brindle::ProductTitleWithVersion() << "\n";
    return kExitDone;
  }
  for (const Command* known : kCommands) {
    if (known->name == command) return RunCommand(*known, rest);
  }
  PrintError("未知的命令: " + command);
  std::fputs(kUsage, stderr);
  return kExitRefused;
}
