#include "tools/common/tool_target_name.h"

#include <system_error>

#include "base/info_log.h"

namespace brindle {

namespace fs = std::filesystem;

bool PathTaken(const fs::path& path) {
  std::error_code ec;
  return fs::exists(fs::symlink_status(path, ec));
}

std::string NameWithoutLastExtension(std::string_view file_name) {
  std::size_t dot = file_name.rfind('.');
  return std::string(dot == std::string_view::npos ? file_name : file_name.substr(0, dot));
}

fs::path FirstFreeName(const fs::path& candidate, std::string_view extension) {
  if (!PathTaken(candidate)) return candidate;
  std::string text = candidate.string();
  // The cut is made in the name only: a dot in a folder name is not an extension.
  std::size_t name_start = text.rfind('/');
  name_start = name_start == std::string::npos ? 0 : name_start + 1;
  std::size_t dot = text.rfind('.');
  std::string stem = dot != std::string::npos && dot >= name_start ? text.substr(0, dot) : text;
  const std::string suffix(extension);
  for (int number = 2;; ++number) {
    fs::path next = FormatMessage("%s(%d)%s", stem.c_str(), number, suffix.c_str());
    if (!PathTaken(next)) return next;
  }
}

}  // namespace brindle
