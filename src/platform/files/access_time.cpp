#include "platform/files/access_time.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <system_error>

namespace brindle {

namespace fs = std::filesystem;

bool MarkAccessedNow(const fs::path& path) {
  const struct timespec times[2] = {{0, UTIME_NOW}, {0, UTIME_OMIT}};
  return utimensat(AT_FDCWD, path.c_str(), times, 0) == 0;
}

std::optional<std::chrono::system_clock::time_point> LastAccessTime(const fs::path& path) {
  struct stat status {};
  if (stat(path.c_str(), &status) != 0) return std::nullopt;
  const auto since_epoch = std::chrono::seconds(status.st_atim.tv_sec) +
                           std::chrono::nanoseconds(status.st_atim.tv_nsec);
  return std::chrono::system_clock::time_point(
      std::chrono::duration_cast<std::chrono::system_clock::duration>(since_epoch));
}

bool IsInsideFolder(const fs::path& path, const fs::path& folder) {
  std::error_code ec;
  const fs::path inner = fs::absolute(path, ec).lexically_normal();
  if (ec) return false;
  fs::path outer = fs::absolute(folder, ec).lexically_normal();
  if (ec) return false;
  if (!outer.has_filename()) outer = outer.parent_path();  // "sz/" is "sz"
  auto outer_end = std::distance(outer.begin(), outer.end());
  auto inner_length = std::distance(inner.begin(), inner.end());
  return inner_length > outer_end && std::equal(outer.begin(), outer.end(), inner.begin());
}

}  // namespace brindle
