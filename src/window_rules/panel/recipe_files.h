#pragma once
// The recipe files of the settings menu: the recent list under "加载 - ", saving the panel's recipe
// to a ".sz" file, and the texts shown when either goes wrong (caption "错误"). The recent list is
// ordered by last-access time, which loading and saving set, so the recipes in use stay on top.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "recipe/processing_options.h"

namespace brindle {

inline constexpr std::size_t kRecentRecipeCount = 10;

// The ten most recently accessed "*.sz" files of the folder, newest first (none when the folder is
// missing).
std::vector<std::filesystem::path> RecentRecipes(const std::filesystem::path& folder);

// "加载 - %s" with the file name.
std::string RecentRecipeMenuText(const std::filesystem::path& file);

// The save dialog's chosen name with ".sz" appended unless it already ends in it (letter case
// ignored).
std::filesystem::path RecipeSavePath(const std::filesystem::path& chosen);

// Makes the recipe folder when it is missing; "无法创建[设置]文件夹" when it cannot. The window
// calls it before the save dialog opens, so the dialog can start there.
std::optional<std::string> EnsureRecipeFolder(const std::filesystem::path& recipe_folder);

// Writes the recipe and, when the file existed before, marks it accessed now so it tops the recent
// list. Returns the error text to show: "无法创建[设置]文件夹" when the recipe folder is missing
// and cannot be made, WriteFailureText when the file cannot be written;
// nothing on success.
std::optional<std::string> SaveRecipeFile(const ProcessingOptions& options,
                                          const std::filesystem::path& file,
                                          const std::filesystem::path& recipe_folder);

// "图片处理设置文件:[%s]不存在"
std::string MissingRecipeText(const std::filesystem::path& file);

}  // namespace brindle
