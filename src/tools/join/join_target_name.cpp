#include "tools/join/join_target_name.h"

#include <string>

#include "tools/common/tool_source.h"
#include "tools/common/tool_target_name.h"

namespace brindle {

namespace fs = std::filesystem;

fs::path JoinGroupTargetPath(const fs::path& output_folder, const fs::path& group,
                             std::string_view extension) {
  const std::string folder_name = WithoutTrailingSeparators(group).filename().string();
  std::string name = folder_name.empty() || folder_name == "/" ? std::string("a") : folder_name;
  name += extension;
  return FirstFreeName(output_folder / name, extension);
}

fs::path JoinListTargetPath(const fs::path& output_folder, const fs::path& first_picture,
                            std::string_view extension) {
  const std::string name = NameWithoutLastExtension(first_picture.filename().string());
  return FirstFreeName(output_folder / (name + "_拼接后" + std::string(extension)), extension);
}

}  // namespace brindle
