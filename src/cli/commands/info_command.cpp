#include <cstdio>
#include <filesystem>
#include <string>

#include "base/info_log.h"
#include "cli/cli.h"
#include "cli/console.h"
#include "engine/read/picture_info.h"

namespace brindle::cli {
namespace {

constexpr const char* kInfoUsage =
    "用法: brindle-cli info [--] FILE...\n"
    "每个文件在标准输出上输出一行图片信息: \"尺寸: 宽 x 高, 类型: 格式 图片, 大小: ...\";\n"
    "不能读取的文件输出 \"注意: 这不是一个有效的图片\"。\n"
    "退出状态: 0 每个文件都已读取; 1 有文件不能读取; 2 用法错误; 255 图片处理库不能使用。\n";

int RunInfo(const Arguments& args) {
  Arguments files;
  std::string unknown;
  if (!SplitFileArguments(args, files, &unknown)) {
    PrintError("未知的选项: " + unknown);
    return kUsageError;
  }
  if (files.empty()) return kUsageError;

  std::unique_ptr<MagickEnvironment> magick = StartImageMagick();
  if (!magick) return kExitStartupFailed;
  Console console;
  bool all_read = true;
  for (const std::string& file : files) {
    PictureInfo info = PictureInfoLine(file);
    if (!info.header_recognised) LogInfo(FormatMessage(kUnrecognisedPictureMessage, file.c_str()));
    if (info.text == kInvalidPictureText) all_read = false;
    std::fwrite(info.text.data(), 1, info.text.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
  }
  return all_read ? kExitDone : kExitSomeFailed;
}

}  // namespace

constexpr Command kInfoCommand{"info", kInfoUsage, &RunInfo};

}  // namespace brindle::cli
