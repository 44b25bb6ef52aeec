#pragma once
// The desktop shortcut: a launcher file on the user's desktop that starts this program.

#include <filesystem>
#include <string>

namespace brindle {

inline constexpr const char* kLauncherCreatedText = "在桌面上成功创建了一个快捷方式";

// The launcher's text: starts executable (files and folders given to it are added to the list).
std::string DesktopLauncherText(const std::filesystem::path& executable);

// Writes "图片批量处理工具.desktop" into desktop_folder, made executable (0755) so the desktop
// trusts it. false when it cannot be written.
bool WriteDesktopLauncher(const std::filesystem::path& desktop_folder,
                          const std::filesystem::path& executable);

}  // namespace brindle
