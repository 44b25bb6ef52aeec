#pragma once
// The pictures of a tool run from a source folder: its own files, then (with sub-folders) those of
// every sub-folder at any depth, each folder before the folders inside it. When the results go to
// an output folder, that folder and a mirror of every sub-folder inside it are made on the way.

#include <atomic>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/refusal.h"
#include "run/batch/run_message.h"
#include "run/list/picture_scan.h"

namespace brindle {

struct ToolPicture {
  std::filesystem::path path;
  // The picture's folder relative to the source folder: "" for the source folder itself, else
  // beginning with "/" ("/2024/may").
  std::string relative_folder;
  // Where the run writes it, for tools that name one file per picture; empty otherwise.
  std::filesystem::path target;
};

struct RunListRequest {
  std::filesystem::path source_folder;
  bool include_sub_folders = false;
  std::string pattern = "*.*";                         // the scan pattern
  std::function<bool(std::string_view name)> accepts;  // null: every file the pattern matches
  // Where the folders are mirrored; none when the results go over the sources.
  std::optional<std::filesystem::path> output_folder;
};

struct RunList {
  std::vector<ToolPicture> pictures;
  std::vector<LongPathNotice> notices;  // paths too long for the program, left out
  std::optional<RunMessage> failure;    // a folder could not be made: the run stops
};

// Makes one folder (its parent must exist); an existing folder is used as it is. Returns the
// error number of the failed creation, or 0.
int MakeFolder(const std::filesystem::path& folder);

// Makes a tool's output folder when it is missing (its parent must exist). When it cannot be made,
// the start is refused with "创建文件夹 %s 失败，错误码：%d" (caption "错误").
std::optional<Refusal> MakeOutputFolder(const std::filesystem::path& folder);

// Builds the run list. A stop request is looked at before each sub-folder; the list then holds
// what was found so far.
RunList BuildRunList(const RunListRequest& request, const std::atomic<bool>& stop_requested);

// Makes, inside output_folder (which exists), the mirror of every sub-folder of source_folder at
// any depth; an existing mirror is reused. A stop request is looked at before each sub-folder. The
// failure of one folder ends it with "任务中止！\n\n创建子文件夹 %s 失败，错误码：%d".
std::optional<RunMessage> MakeMirrorFolders(const std::filesystem::path& source_folder,
                                            const std::filesystem::path& output_folder,
                                            const std::atomic<bool>& stop_requested);

}  // namespace brindle
