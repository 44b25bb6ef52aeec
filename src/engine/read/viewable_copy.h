#pragma once
// The picture viewer shows JPEG files only. A picture it cannot show as it is (another format, a
// CMYK JPEG, a photo stored turned) is first written as an RGB JPEG copy, "browser.jpg" in the temp
// folder, and the viewer shows that copy instead.

#include <filesystem>
#include <optional>
#include <string>

namespace brindle {

inline constexpr const char* kViewableCopyName = "browser.jpg";
inline constexpr int kViewableCopyQuality = 90;

// The file the viewer should show: path itself for an RGB JPEG stored upright, otherwise the copy
// written to temp_folder / kViewableCopyName. None when the picture cannot be read or the copy
// cannot be written (error says why).
std::optional<std::filesystem::path> MakeViewableCopy(const std::filesystem::path& path,
                                                      const std::filesystem::path& temp_folder,
                                                      std::string* error = nullptr);

}  // namespace brindle
