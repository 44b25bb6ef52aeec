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

// Keeping a source's modification time on the file written from it: the time is read before the
// work (an overwritten source loses it) and given to the written file afterwards.
class KeptFileTime {
 public:
  // Reads source's time when keep is on; otherwise the written file keeps the time of its writing.
  KeptFileTime(const std::filesystem::path& source, bool keep);
  // Gives the written file the source's time; false when it could not be read or set.
  bool ApplyTo(const std::filesystem::path& written) const;

 private:
  std::optional<std::filesystem::file_time_type> time_;
};

}  // namespace brindle
