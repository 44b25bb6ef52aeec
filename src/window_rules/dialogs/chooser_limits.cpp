#include "window_rules/dialogs/chooser_limits.h"

#include "base/info_log.h"
#include "platform/text/text_encoding.h"
#include "run/list/picture_scan.h"

namespace brindle {

std::optional<std::string> CheckChosenFolder(const std::filesystem::path& folder) {
  const int length = static_cast<int>(GbkLength(folder.string()));
  if (length <= kMaxPathBytes) return std::nullopt;
  return FormatMessage(
      "文件夹路径长度不能大于 %d 个字符！\n\n当前文件夹路径长度：%d 个字符\n%s\n\n"
      "解决方案：修改文件夹路径长度，使其长度不超过 %d 个字符。\n\n"
      "提示：一个英文字母占 1 个字符，一个汉字占 2 个字符。",
      kMaxPathBytes, length, folder.c_str(), kMaxPathBytes);
}

std::optional<std::string> CheckChosenPaths(const std::vector<std::filesystem::path>& paths,
                                            ChooserKind kind) {
  for (const std::filesystem::path& path : paths) {
    if (auto folder = CheckChosenFolder(path.parent_path())) return folder;
    const int length = static_cast<int>(GbkLength(path.string()));
    if (length <= kMaxPathBytes) continue;
    const char* second_line = kind == ChooserKind::kOpenOne ? "当前选择的文件路径长度：%d 个字符"
                                                            : "当前文件路径长度：%d 个字符";
    return FormatMessage("文件路径长度不能大于 %d 个字符！\n\n", kMaxPathBytes) +
           FormatMessage(second_line, length) +
           FormatMessage("\n%s\n\n解决方案：修改文件路径长度，使其长度不超过 %d 个字符。\n\n"
                         "提示：一个英文字母占 1 个字符，一个汉字占 2 个字符。",
                         path.c_str(), kMaxPathBytes);
  }
  return std::nullopt;
}

}  // namespace brindle
