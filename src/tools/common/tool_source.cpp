#include "tools/common/tool_source.h"

#include <system_error>

#include "base/info_log.h"
#include "platform/text/text_encoding.h"
#include "run/list/picture_scan.h"

namespace brindle {

namespace fs = std::filesystem;

std::optional<Refusal> CheckSourceFolder(const fs::path& source) {
  Refusal refusal;
  refusal.control = kSourceButton;
  refusal.icon = MessageIcon::kWarning;
  if (source.empty()) {
    refusal.hint_title = "请选择【源图片文件夹】";
    refusal.hint_text = "源图片文件夹不能为空";
    return refusal;
  }
  std::error_code ec;
  if (!fs::is_directory(source, ec)) {
    refusal.hint_title = "请重新选择";
    refusal.hint_text = "选择的【源图片文件夹】不存在";
    return refusal;
  }
  return std::nullopt;
}

RunMessage ChosenRootRefusal(const fs::path& folder) {
  std::string shown = CutToGbkBytes(folder.string(), 8);
  return {FormatMessage("暂不支持添加根目录：[%s]，请选择下一级文件夹。", shown.c_str()), "错误",
          MessageIcon::kError};
}

RunMessage DroppedRootRefusal(const fs::path& folder) {
  return {FormatMessage("暂不支持拖入根目录:[%s]", folder.c_str()), "提示", MessageIcon::kWarning};
}

SourceDrop TakeDroppedSource(const std::vector<fs::path>& dropped) {
  SourceDrop drop;
  std::error_code ec;
  if (dropped.size() != 1 || !fs::is_directory(dropped.front(), ec)) {
    drop.refusal = RunMessage{"一次只支持拖入一个文件夹", "提示", MessageIcon::kWarning};
    return drop;
  }
  if (IsFileSystemRoot(dropped.front())) {
    drop.refusal = DroppedRootRefusal(dropped.front());
    return drop;
  }
  drop.folder = WithoutTrailingSeparators(dropped.front());
  return drop;
}

fs::path DefaultOutputFolder(const fs::path& source) {
  const std::string base = WithoutTrailingSeparators(source).string() + "_处理后";
  std::error_code ec;
  fs::path candidate = base;
  for (int number = 2; fs::is_directory(candidate, ec); ++number) {
    candidate = FormatMessage("%s(%d)", base.c_str(), number);
  }
  return candidate;
}

fs::path WithoutTrailingSeparators(const fs::path& folder) {
  std::string text = folder.string();
  while (text.size() > 1 && text.back() == '/') text.pop_back();
  return fs::path(text);
}

}  // namespace brindle
