#pragma once
// The crop and join windows' hand-made picture list ("选择图片"): adding without duplicates,
// deleting with the preview index and selection that follow, and what a drop does in either
// source mode.

#include <filesystem>
#include <optional>
#include <vector>

#include "run/batch/run_message.h"

namespace brindle {

// Appends the paths the list does not hold yet (exact comparison), in order; returns how many.
int AddToPictureList(std::vector<std::filesystem::path>& list,
                     const std::vector<std::filesystem::path>& paths);

struct PictureListDeletion {
  int current_index = 0;         // the preview index afterwards
  bool current_removed = false;  // the preview picture went: the preview is made again
  int selected_row = -1;         // the row selected afterwards; -1 when the list is empty
};

// Removes the rows (in any order, each once) from the last to the first. Every removed row before
// the preview index moves it down by one; when the preview picture itself goes the index becomes
// 0. The row now at the topmost removed position is selected, or the one before it past the end.
PictureListDeletion DeleteFromPictureList(std::vector<std::filesystem::path>& list,
                                          std::vector<int> rows, int current_index);

// A drop on the crop or join window. Folder mode: one folder becomes the source, anything else is
// refused. List mode: a folder anywhere refuses the whole drop; otherwise the jpg, jpeg, png, gif
// and bmp files are added and other files ignored.
struct ToolDrop {
  std::optional<std::filesystem::path> folder;
  std::vector<std::filesystem::path> pictures;
  std::optional<RunMessage> refusal;
};

ToolDrop TriageToolDrop(bool list_mode, const std::vector<std::filesystem::path>& dropped);

}  // namespace brindle
