#include <cstdio>
#include <string>

#include "cli/cli.h"
#include "engine/read/picture_classify.h"

namespace brindle::cli {
namespace {

constexpr const char* kClassifyUsage =
    "用法: brindle-cli classify [--] FILE...\n"
    "每个文件在标准输出上输出一行: JPEG, PNG, GIF, BMP, PSD, TIFF,\n"
    "或 0 (不能打开), -1 (GIF动画), -2 (未知格式)。\n"
    "退出状态: 0 每个文件都是上述图片格式之一; 1 有文件得到 0, -1 或 -2; 2 用法错误。\n";

int RunClassify(const Arguments& args) {
  Arguments files;
  std::string unknown;
  if (!SplitFileArguments(args, files, &unknown)) {
    PrintError("未知的选项: " + unknown);
    return kUsageError;
  }
  if (files.empty()) return kUsageError;

  bool all_pictures = true;
  for (const std::string& file : files) {
    PictureClass picture_class = ClassifyPictureFile(file);
    std::string line = IsPictureFormat(picture_class)
                           ? std::string(PictureClassName(picture_class))
                           : std::to_string(FailureCode(picture_class));
    if (!IsPictureFormat(picture_class)) all_pictures = false;
    line.push_back('\n');
    std::fwrite(line.data(), 1, line.size(), stdout);
  }
  std::fflush(stdout);
  return all_pictures ? kExitDone : kExitSomeFailed;
}

}  // namespace

constexpr Command kClassifyCommand{"classify", kClassifyUsage, &RunClassify};

}  // namespace brindle::cli
