#include "engine/write/icc_profiles.h"

#include <sys/stat.h>

#include <cstdio>
#include <memory>

#include "base/info_log.h"

namespace brindle {
namespace {

namespace fs = std::filesystem;

// Far above any real colour profile; a larger file is not read into memory.
constexpr off_t kLargestProfile = 64 * 1024 * 1024;

struct FileCloser {
  void operator()(std::FILE* file) const {
    if (file) std::fclose(file);
  }
};

}  // namespace

ProfileFileStatus ReadProfileFile(const fs::path& path, std::string& bytes) {
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
  if (!file) return ProfileFileStatus::kCannotOpen;
  // A folder opens too; only a regular file has a size to read.
  struct stat status {};
  if (fstat(fileno(file.get()), &status) != 0 || !S_ISREG(status.st_mode) || status.st_size <= 0 ||
      status.st_size > kLargestProfile) {
    return ProfileFileStatus::kCannotRead;
  }
  std::string read(static_cast<std::size_t>(status.st_size), '\0');
  if (std::fread(read.data(), 1, read.size(), file.get()) != read.size()) {
    return ProfileFileStatus::kCannotRead;
  }
  bytes = std::move(read);
  return ProfileFileStatus::kLoaded;
}

std::vector<std::string> LoadRgbProfiles(const fs::path& icc_folder, IccProfiles& profiles) {
  std::vector<std::string> messages;
  auto load = [&](const char* name, std::string& profile) {
    switch (ReadProfileFile(icc_folder / name, profile)) {
      case ProfileFileStatus::kLoaded:
        break;
      case ProfileFileStatus::kCannotOpen:
        messages.push_back(FormatMessage("%s 文件无法访问。", name));
        break;
      case ProfileFileStatus::kCannotRead:
        messages.push_back(FormatMessage("加载 %s 文件出错。", name));
        break;
    }
  };
  load(kAdobeRgbProfileName, profiles.adobe_rgb);
  load(kSrgbProfileName, profiles.srgb);
  return messages;
}

CmykProfileLoad LoadCmykProfile(const fs::path& icc_folder, const std::string& name,
                                IccProfiles& profiles) {
  CmykProfileLoad result;
  const fs::path chosen = icc_folder / name;
  if (ReadProfileFile(chosen, profiles.cmyk) == ProfileFileStatus::kLoaded) {
    result.loaded = true;
    return result;
  }
  result.message = FormatMessage("加载ICC色彩特性文件 '%s' 出错。", chosen.c_str());
  for (const char* fallback : kCmykFallbackProfileNames) {
    if (ReadProfileFile(icc_folder / fallback, profiles.cmyk) == ProfileFileStatus::kLoaded) {
      result.loaded = true;
      result.fallback_name = fallback;
      break;
    }
  }
  return result;
}

}  // namespace brindle
