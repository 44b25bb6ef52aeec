#include "run/list/batch_list.h"

#include <cstdint>
#include <system_error>

#include "base/info_log.h"
#include "engine/read/picture_classify.h"
#include "run/batch/thread_count.h"
#include "run/list/picture_scan.h"

namespace brindle {

namespace fs = std::filesystem;

BatchListFill AddPathsToList(PictureList& list, const std::vector<fs::path>& paths,
                             bool recursive) {
  BatchListFill fill;
  const PictureList::Classifier classify = [](const fs::path& path) {
    return ClassifyPictureFile(path);
  };
  auto add = [&](const fs::path& path, const std::string& sub_path) {
    if (list.Add(path, sub_path, classify, /*parse_file_format=*/true) ==
        PictureList::AddResult::kRefused) {
      ++fill.skipped;
    }
  };
  for (const fs::path& path : paths) {
    std::error_code ec;
    if (!fs::is_directory(path, ec)) {
      add(path, "");
      continue;
    }
    FolderScan scan = ScanPictureFolder(path, recursive);
    for (const LongPathNotice& notice : scan.notices) {
      fill.notices.push_back(notice.message);
      ++fill.skipped;
    }
    if (scan.pictures.empty()) {
      fill.notices.push_back(FormatMessage("在[%s]中没有找到可处理的图片。", path.c_str()));
    }
    for (const ScannedPicture& picture : scan.pictures) add(picture.path, picture.source_sub_path);
  }
  return fill;
}

int BatchThreadCount(int thread_model, const PictureList& list) {
  std::vector<std::uint64_t> leading_sizes;
  for (std::size_t i = 0; i < list.size() && i < 5; ++i) {
    std::error_code ec;
    leading_sizes.push_back(fs::file_size(list[i].path, ec));
  }
  return DecideThreadCount(thread_model, ReadMachineFacts(), list.size(), leading_sizes);
}

}  // namespace brindle
