#include <filesystem>
#include <system_error>
#include <variant>

#include "cli/cli.h"
#include "engine/watermark/text_font.h"
#include "engine/write/icc_profiles.h"
#include "fonts/font_catalogue.h"
#include "panel/rules/recipe_validation.h"
#include "platform/files/app_folders.h"
#include "prefs/preferences.h"

namespace brindle::cli {
namespace {

namespace fs = std::filesystem;

// The colour profiles, as the desktop program loads them when it starts. brindle-cli reads no
// preferences, so the CMYK default is the preference's default name; when that file is missing and
// a fallback is read instead, this is what a machine that has stored the fallback would use, and
// nothing is said. Only when no CMYK profile can be read at all is the load message printed.
IccProfiles LoadProfiles(const fs::path& icc_folder) {
  IccProfiles profiles;
  for (const std::string& message : LoadRgbProfiles(icc_folder, profiles)) PrintError(message);
  CmykProfileLoad cmyk =
      LoadCmykProfile(icc_folder, std::string(pref::kCmykDefaultIcc.fallback), profiles);
  if (!cmyk.loaded) PrintError(cmyk.message);
  return profiles;
}

}  // namespace

std::optional<ProcessingOptions> LoadRecipe(const std::optional<std::string>& recipe_file,
                                            const RecipeSettings& settings) {
  ProcessingOptions options{};
  if (recipe_file) {
    std::error_code ec;
    if (fs::is_directory(*recipe_file, ec) || !ReadOptionsFile(options, *recipe_file)) {
      PrintError("图片处理设置文件:[" + *recipe_file + "]不存在");
      return std::nullopt;
    }
  } else {
    options = InitialProcessingOptions();
  }
  for (const auto& [key, value] : settings) {
    if (!ApplyRecipeSetting(options, key, value)) return std::nullopt;
  }
  return options;
}

std::optional<RunRecipe> PrepareRecipe(ProcessingOptions options) {
  // The user's own font mappings are not read: a command line gives the same result on every
  // machine.
  const FontCatalogue catalogue = options.bSYText ? LoadFontCatalogue({}) : FontCatalogue();
  std::variant<RunRecipe, Refusal> validated =
      ValidateRecipe(std::move(options), catalogue, kDefaultScreenDpi);
  if (const Refusal* refusal = std::get_if<Refusal>(&validated)) {
    PrintError(refusal->Text());
    return std::nullopt;
  }
  RunRecipe recipe = std::move(std::get<RunRecipe>(validated));
  recipe.profiles = LoadProfiles(AppFolders::ForCurrentUser().IccFolder());
  return recipe;
}

}  // namespace brindle::cli
