#include "tools/slice/slice_names.h"

#include "base/info_log.h"
#include "platform/text/text_trim.h"
#include "tools/common/tool_target_name.h"

namespace brindle {

namespace fs = std::filesystem;

fs::path SliceTileFolder(const fs::path& output_folder, std::string_view relative_folder,
                         std::string_view base_name, bool sub_folder) {
  std::string folder = output_folder.string();
  folder.append(relative_folder);
  if (!sub_folder) return folder;
  const std::string_view name = TrimBlanks(base_name);
  if (name.empty() || name == "." || name == "..") return folder;
  return folder + "/" + std::string(name);
}

int TileNumberWidth(long long total) {
  if (total <= 9) return 1;
  if (total <= 99) return 2;
  if (total <= 999) return 3;
  return 4;
}

fs::path SliceTilePath(const fs::path& tile_folder, std::string_view base_name, long long number,
                       long long total, std::string_view extension) {
  const std::string folder = tile_folder.string();
  const std::string base(base_name);
  const std::string ext(extension);
  const int width = TileNumberWidth(total);
  fs::path path =
      FormatMessage("%s/%s-%0*lld%s", folder.c_str(), base.c_str(), width, number, ext.c_str());
  for (int counter = 2; PathTaken(path); ++counter) {
    path = FormatMessage("%s/%s-%*lld(%d)%s", folder.c_str(), base.c_str(), width, number, counter,
                         ext.c_str());
  }
  return path;
}

fs::path SlicePagePath(const fs::path& output_folder, std::string_view relative_folder,
                       std::string_view base_name) {
  const std::string stem =
      output_folder.string() + std::string(relative_folder) + "/" + std::string(base_name);
  fs::path path = stem + ".html";
  for (int counter = 2; PathTaken(path); ++counter) {
    path = FormatMessage("%s(%d).html", stem.c_str(), counter);
  }
  return path;
}

}  // namespace brindle
