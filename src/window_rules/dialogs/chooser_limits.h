#pragma once
// The path limits every file and folder chooser checks once the user confirms: the program handles
// paths of at most 259 GBK bytes (a Chinese character counts two).

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace brindle {

enum class ChooserKind { kOpenSeveral, kOpenOne, kSave };

// The message (caption "提示", error icon) of the first chosen path that is too long, folder part
// first; the chooser then returns as if cancelled.
std::optional<std::string> CheckChosenPaths(const std::vector<std::filesystem::path>& paths,
                                            ChooserKind kind);

// A chosen folder that is too long.
std::optional<std::string> CheckChosenFolder(const std::filesystem::path& folder);

}  // namespace brindle
