#include "platform/file_stamp.h"

#include <system_error>

namespace brindle {

std::optional<FileStamp> StampOf(const std::filesystem::path& path) {
  std::error_code error;
  FileStamp stamp{path, std::filesystem::last_write_time(path, error), 0};
  if (error) return std::nullopt;
  stamp.length = std::filesystem::file_size(path, error);
  if (error) return std::nullopt;
  return stamp;
}

}  // namespace brindle
