#pragma once
// A file's last-access time, which the recent-recipes menu sorts by: loading a recipe marks it as
// used without touching its contents or its last-write time.

#include <chrono>
#include <filesystem>
#include <optional>

namespace brindle {

// Sets the file's last-access time to now and leaves its last-write time. false when the file
// cannot be reached.
bool MarkAccessedNow(const std::filesystem::path& path);

// The file's last-access time; nothing when the file cannot be reached.
std::optional<std::chrono::system_clock::time_point> LastAccessTime(
    const std::filesystem::path& path);

// True when path lies inside folder (compared by path components after making both absolute and
// normal), so that "sz2/a.sz" is not inside "sz".
bool IsInsideFolder(const std::filesystem::path& path, const std::filesystem::path& folder);

}  // namespace brindle
