#include "platform/files/app_folders.h"

#include <cstdlib>
#include <system_error>

namespace brindle {
namespace {

namespace fs = std::filesystem;

fs::path XdgFolder(const char* variable, const char* fallback_below_home) {
  const char* value = std::getenv(variable);
  if (value && *value && fs::path(value).is_absolute()) return fs::path(value);
  const char* home = std::getenv("HOME");
  fs::path base = (home && *home) ? fs::path(home) : fs::temp_directory_path();
  return base / fallback_below_home;
}

}  // namespace

fs::path ExecutableFolder() {
  std::error_code ec;
  fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  if (ec) return fs::current_path(ec);
  return exe.parent_path();
}

fs::path FindDataFolder() {
  fs::path exe_folder = ExecutableFolder();
  std::error_code ec;
  if (fs::exists(exe_folder / "data" / "magick" / "policy.xml", ec)) return exe_folder / "data";
  if (fs::exists(exe_folder.parent_path() / "data" / "magick" / "policy.xml", ec)) {
    return exe_folder.parent_path() / "data";
  }
  return (exe_folder.parent_path() / "share" / "brindle").lexically_normal();
}

AppFolders AppFolders::ForCurrentUser() {
  AppFolders folders;
  folders.config = XdgFolder("XDG_CONFIG_HOME", ".config") / "brindle";
  folders.temp = XdgFolder("XDG_CACHE_HOME", ".cache") / "brindle" / "temp";
  folders.data = FindDataFolder();
  return folders;
}

bool AppFolders::CreateWritableFolders(std::string* error) const {
  for (const fs::path& folder : {config, temp}) {
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec && !fs::is_directory(folder)) {
      if (error) *error = folder.string() + ": " + ec.message();
      return false;
    }
  }
  return true;
}

}  // namespace brindle
