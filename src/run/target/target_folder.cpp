#include "run/target/target_folder.h"

#include <filesystem>
#include <unordered_set>

#include "base/info_log.h"
#include "run/target/target_name.h"

namespace brindle {
namespace {

namespace fs = std::filesystem;

constexpr const char* kSaveFolderButton = "save_folder_button";

Refusal FolderChoiceRefusal(std::string hint, std::string message) {
  Refusal refusal;
  refusal.control = kSaveFolderButton;
  refusal.hint_title = "看这里";
  refusal.hint_text = std::move(hint);
  refusal.message = std::move(message);
  refusal.caption = "提示";
  refusal.icon = MessageIcon::kWarning;
  refusal.scroll = PanelScroll::kBottom;
  return refusal;
}

bool MakeFolder(const fs::path& folder) {
  std::error_code ec;
  fs::create_directory(folder, ec);
  return fs::is_directory(folder, ec);
}

}  // namespace

std::vector<std::string> MirrorFolders(const std::vector<PictureEntry>& entries) {
  std::vector<std::string> folders;
  std::unordered_set<std::string> seen;
  for (const PictureEntry& entry : entries) {
    const std::string& sub_path = entry.source_sub_path;
    if (sub_path.empty()) continue;
    for (std::size_t end = sub_path.find('/');; end = sub_path.find('/', end + 1)) {
      std::string prefix = sub_path.substr(0, end);
      if (!prefix.empty() && seen.insert(prefix).second) folders.push_back(prefix);
      if (end == std::string::npos) break;
    }
  }
  return folders;
}

std::optional<Refusal> PrepareTargetFolder(const std::string& folder_text, bool keep_structure,
                                           const std::vector<PictureEntry>& entries) {
  if (folder_text.empty()) {
    return FolderChoiceRefusal("请选择图片处理后保存到的位置", "请选择图片处理后保存到的位置");
  }
  std::error_code ec;
  if (!fs::is_directory(folder_text, ec)) {
    return FolderChoiceRefusal("文件夹不存在，请重新选择",
                               "图片处理后保存到的位置不存在，请重新选择");
  }
  if (!keep_structure) return std::nullopt;

  std::string folder = TargetFolderString(folder_text);
  for (const std::string& prefix : MirrorFolders(entries)) {
    std::string mirror = folder + prefix;
    if (MakeFolder(mirror)) continue;
    Refusal refusal;
    refusal.kind = RefusalKind::kFailure;
    refusal.message = FormatMessage("无法创建目标文件夹：[%s]", mirror.c_str());
    refusal.caption = "提示";
    refusal.icon = MessageIcon::kError;
    return refusal;
  }
  return std::nullopt;
}

}  // namespace brindle
