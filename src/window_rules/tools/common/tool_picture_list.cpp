#include "window_rules/tools/common/tool_picture_list.h"

#include <algorithm>
#include <system_error>

#include "platform/text/text_case.h"
#include "tools/common/tool_source.h"

namespace brindle {

namespace fs = std::filesystem;

int AddToPictureList(std::vector<fs::path>& list, const std::vector<fs::path>& paths) {
  int added = 0;
  for (const fs::path& path : paths) {
    if (std::find(list.begin(), list.end(), path) != list.end()) continue;
    list.push_back(path);
    ++added;
  }
  return added;
}

PictureListDeletion DeleteFromPictureList(std::vector<fs::path>& list, std::vector<int> rows,
                                          int current_index) {
  std::sort(rows.begin(), rows.end());
  rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
  PictureListDeletion result;
  result.current_index = current_index;
  const int count = static_cast<int>(list.size());
  int topmost = -1;
  for (auto row = rows.rbegin(); row != rows.rend(); ++row) {
    if (*row < 0 || *row >= count) continue;
    list.erase(list.begin() + *row);
    topmost = *row;
    if (*row == current_index) result.current_removed = true;
    if (*row < current_index) --result.current_index;
  }
  if (result.current_removed) result.current_index = 0;
  if (!list.empty() && topmost >= 0) {
    result.selected_row = std::min(topmost, static_cast<int>(list.size()) - 1);
  }
  return result;
}

ToolDrop TriageToolDrop(bool list_mode, const std::vector<fs::path>& dropped) {
  ToolDrop drop;
  std::error_code ec;
  if (!list_mode) {
    if (dropped.size() != 1 || !fs::is_directory(dropped.front(), ec)) {
      drop.refusal =
          RunMessage{"当前模式：一次只支持拖入一个文件夹", "提示", MessageIcon::kWarning};
    } else {
      drop.folder = WithoutTrailingSeparators(dropped.front());
    }
    return drop;
  }
  for (const fs::path& path : dropped) {
    if (fs::is_directory(path, ec)) {
      drop.refusal = RunMessage{"当前模式：只支持拖入图片文件，格式：jpg, png, gif, bmp", "提示",
                                MessageIcon::kWarning};
      drop.pictures.clear();
      return drop;
    }
    const std::string name = path.filename().string();
    for (const char* extension : {".jpg", ".jpeg", ".png", ".gif", ".bmp"}) {
      if (EndsWithIgnoringCase(name, extension)) {
        drop.pictures.push_back(path);
        break;
      }
    }
  }
  return drop;
}

}  // namespace brindle
