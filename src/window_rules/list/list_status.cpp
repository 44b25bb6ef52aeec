#include "window_rules/list/list_status.h"

#include <algorithm>

#include "base/info_log.h"

namespace brindle {

std::string ListCountText(int count, bool making_thumbnails) {
  return making_thumbnails ? FormatMessage("%d 张图片, 正在生成缩略图...", count)
                           : FormatMessage("%d 张图片", count);
}

std::string ListThumbnailText(int count, int position) {
  return FormatMessage("%d 张图片, 正在生成第 %d 张图片的缩略图...", count, position);
}

RowRuns JoinRowRuns(RowRuns runs) {
  std::sort(runs.begin(), runs.end());
  RowRuns joined;
  for (const auto& [first, last] : runs) {
    if (first > last) continue;
    if (!joined.empty() && first <= joined.back().second + 1) {
      joined.back().second = std::max(joined.back().second, last);
    } else {
      joined.emplace_back(first, last);
    }
  }
  return joined;
}

int RowsIn(const RowRuns& runs) {
  int rows = 0;
  for (const auto& [first, last] : runs) rows += last - first + 1;
  return rows;
}

std::string SelectionText(int selected, const std::function<std::string()>& information_line) {
  if (selected == 1) return information_line();
  if (selected > 1) return FormatMessage("选中了 %d 张图片", selected);
  return {};
}

ListCommandStates ListCommandStatesOf(int count, int selected) {
  ListCommandStates states;
  states.remove = selected > 0;
  states.view_original = selected > 0;
  states.start = count > 0;
  states.remove_all = count > 0;
  states.empty_hint = count == 0;
  return states;
}

}  // namespace brindle
