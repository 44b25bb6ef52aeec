#include "window_rules/main/desktop_launcher.h"

#include <system_error>

#include "platform/files/file_write.h"

namespace brindle {

namespace fs = std::filesystem;

std::string DesktopLauncherText(const fs::path& executable) {
  // Exec quotes an argument in double quotes with '"', '`' and '$' escaped by a backslash; a
  // backslash takes four (string escaping, then quoting) and '%' is doubled.
  std::string quoted = "\"";
  for (char c : executable.string()) {
    if (c == '\\') {
      quoted += "\\\\\\\\";
      continue;
    }
    if (c == '"' || c == '`' || c == '$') quoted += '\\';
    if (c == '%') quoted += '%';
    quoted += c;
  }
  quoted += '"';
  std::string text =
      "[Desktop Entry]\nType=Application\nName=图片批量处理工具\nComment=Brindle图片批量处理工具\nExec=";
  text.append(quoted).append(" %F\nIcon=brindle\nTerminal=false\nCategories=Graphics;\n");
  return text;
}

bool WriteDesktopLauncher(const fs::path& desktop_folder, const fs::path& executable) {
  const fs::path file = desktop_folder / "图片批量处理工具.desktop";
  if (!WriteFileAtomically(file, DesktopLauncherText(executable))) return false;
  std::error_code ec;
  fs::permissions(file, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                            fs::perms::others_read | fs::perms::others_exec,
                  ec);
  return !ec;
}

}  // namespace brindle
