#include "platform/files/file_stamp.h"

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

KeptFileTime::KeptFileTime(const std::filesystem::path& source, bool keep) {
  if (!keep) return;
  std::error_code error;
  std::filesystem::file_time_type time = std::filesystem::last_write_time(source, error);
  if (!error) time_ = time;
}

bool KeptFileTime::ApplyTo(const std::filesystem::path& written) const {
  if (!time_) return false;
  std::error_code error;
  std::filesystem::last_write_time(written, *time_, error);
  return !error;
}

}  // namespace brindle
