#pragma once
// What the main window says about its picture list: the two status-bar texts and which commands
// the list's state allows.

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace brindle {

// "%d 张图片", or "%d 张图片, 正在生成缩略图..." while thumbnails are being made.
std::string ListCountText(int count, bool making_thumbnails);

// "%d 张图片, 正在生成第 %d 张图片的缩略图..." while the thumbnail at position (1 for the first
// picture) is being made.
std::string ListThumbnailText(int count, int position);

// Rows as runs (first, last), as a selection's ranges give them: sorted, overlapping and touching
// runs joined.
using RowRuns = std::vector<std::pair<int, int>>;
RowRuns JoinRowRuns(RowRuns runs);
// How many rows the joined runs hold.
int RowsIn(const RowRuns& runs);

// The second status part: with one picture selected its information line (asked for only then),
// with several "选中了 %d 张图片", with none nothing.
std::string SelectionText(int selected, const std::function<std::string()>& information_line);

struct ListCommandStates {
  bool remove = false;  // also the four turns and flips and the effect preview
  bool start = false;
  bool empty_hint = false;      // the picture that invites adding pictures
  bool remove_all = false;      // context menu
  bool view_original = false;   // context menu "查看原图"
};

ListCommandStates ListCommandStatesOf(int count, int selected);

}  // namespace brindle
