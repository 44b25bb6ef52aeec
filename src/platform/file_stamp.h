#pragma once
// What tells a file apart from a later version of itself: its path, its last write time and its
// length. A preview that keeps a decoded picture compares stamps to know the file is unchanged.

#include <cstdint>
#include <filesystem>
#include <optional>

namespace brindle {

struct FileStamp {
  std::filesystem::path path;
  std::filesystem::file_time_type modified;
  std::uintmax_t length = 0;
  bool operator==(const FileStamp&) const = default;
};

// None when the file's time or length cannot be read: such a file is never taken for unchanged.
std::optional<FileStamp> StampOf(const std::filesystem::path& path);

}  // namespace brindle
