#include "window_rules/panel/recipe_files.h"

#include <algorithm>
#include <chrono>
#include <system_error>

#include "platform/files/access_time.h"
#include "platform/text/text_case.h"
#include "recipe/options_file.h"

namespace brindle {

namespace fs = std::filesystem;

std::vector<fs::path> RecentRecipes(const fs::path& folder) {
  struct Recipe {
    fs::path path;
    std::chrono::system_clock::time_point accessed;
  };
  std::vector<Recipe> recipes;
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    const fs::path& path = it->path();
    if (!EndsWithIgnoringCase(path.filename().string(), ".sz") || !it->is_regular_file(ec))
      continue;
    std::optional<std::chrono::system_clock::time_point> accessed = LastAccessTime(path);
    if (accessed) recipes.push_back({path, *accessed});
  }
  // Equal times keep the names in order, so the menu does not shuffle between openings.
  std::sort(recipes.begin(), recipes.end(), [](const Recipe& a, const Recipe& b) {
    return a.accessed != b.accessed ? a.accessed > b.accessed : a.path < b.path;
  });
  if (recipes.size() > kRecentRecipeCount) recipes.resize(kRecentRecipeCount);
  std::vector<fs::path> paths;
  for (Recipe& recipe : recipes) paths.push_back(std::move(recipe.path));
  return paths;
}

std::string RecentRecipeMenuText(const fs::path& file) {
  return std::string("加载 - ").append(file.filename().string());
}

fs::path RecipeSavePath(const fs::path& chosen) {
  if (EndsWithIgnoringCase(chosen.string(), ".sz")) return chosen;
  fs::path path = chosen;
  path += ".sz";
  return path;
}

std::optional<std::string> EnsureRecipeFolder(const fs::path& recipe_folder) {
  std::error_code ec;
  if (fs::is_directory(recipe_folder, ec)) return std::nullopt;
  fs::create_directories(recipe_folder, ec);
  if (!ec && fs::is_directory(recipe_folder, ec)) return std::nullopt;
  return std::string("无法创建[设置]文件夹");
}

std::optional<std::string> SaveRecipeFile(const ProcessingOptions& options, const fs::path& file,
                                          const fs::path& recipe_folder) {
  if (std::optional<std::string> refusal = EnsureRecipeFolder(recipe_folder)) return refusal;
  std::error_code ec;
  const bool existed = fs::exists(file, ec);
  if (!WriteOptionsFile(options, file)) {
    return WriteFailureText(file);
  }
  if (existed) MarkAccessedNow(file);
  return std::nullopt;
}

std::string MissingRecipeText(const fs::path& file) {
  return std::string("图片处理设置文件:[").append(file.string()).append("]不存在");
}

}  // namespace brindle
