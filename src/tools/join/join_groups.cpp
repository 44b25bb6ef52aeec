#include "tools/join/join_groups.h"

namespace brindle {

namespace fs = std::filesystem;

JoinGroupList ListJoinGroups(const fs::path& source, LoadFormatMask mask) {
  JoinGroupList list;
  ScanResult sub_folders = ListSubFolders(source, /*recursive=*/false);
  list.notices = std::move(sub_folders.notices);
  if (!sub_folders.paths.empty()) {
    list.groups = std::move(sub_folders.paths);
  } else if (HoldsTwoPictures(source, mask)) {
    list.groups.push_back(source);
  }
  return list;
}

ScanResult ListGroupPictures(const fs::path& group, LoadFormatMask mask) {
  ScanResult files = ListFiles(group, "*.*");
  std::erase_if(files.paths, [mask](const fs::path& path) {
    return !MaskSelectsFile(mask, path.filename().string());
  });
  return files;
}

bool HoldsTwoPictures(const fs::path& folder, LoadFormatMask mask) {
  return ListGroupPictures(folder, mask).paths.size() >= 2;
}

}  // namespace brindle
