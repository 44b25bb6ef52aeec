#include "app/main/app_context.h"

#include "app/dialogs/dialogs.h"
#include "fonts/font_mapping.h"
#include "recipe/options_file.h"

namespace brindle {
namespace {

QString ReadFolder(const PreferenceStore& store, const TextPreference& preference) {
  return QString::fromStdString(ReadPreference(store, preference));
}

}  // namespace

std::optional<AppContext> LoadAppContext(const AppFolders& folders, Dialogs& dialogs) {
  std::string error;
  if (!folders.CreateWritableFolders(&error)) {
    dialogs.Tell(nullptr, "错误", QString::fromStdString(error), MessageIcon::kError);
    return std::nullopt;
  }
  AppContext context;
  context.folders = folders;
  ReadConfigFile(context.recipe, folders.ConfigFile());
  context.image_folder = ReadFolder(context.store, pref::kFileDlgChooseImage);
  context.logo_folder = ReadFolder(context.store, pref::kFileDlgChooseLogo);
  context.font_folder = ReadFolder(context.store, pref::kFileDlgChooseFont);
  context.preferences = LoadStartupPreferences(context.store);

  // The CMYK default: a stored name that cannot be read falls back to the profiles that can,
  // silently; only a machine with no CMYK profile at all is told.
  CmykProfileLoad cmyk = LoadCmykProfile(folders.IccFolder(),
                                         context.preferences.cmyk_default_icc, context.profiles);
  if (!cmyk.loaded) {
    dialogs.Tell(nullptr, kProfileMessageCaption, QString::fromStdString(cmyk.message),
                 MessageIcon::kError);
  }
  for (const std::string& message : LoadRgbProfiles(folders.IccFolder(), context.profiles)) {
    dialogs.Tell(nullptr, kProfileMessageCaption, QString::fromStdString(message),
                 MessageIcon::kError);
  }
  context.fonts = LoadFontCatalogue(ReadFontMappings(context.store));
  return context;
}

void StoreChooserFolders(const AppContext& context) {
  WritePreference(context.store, pref::kFileDlgChooseImage, context.image_folder.toStdString());
  WritePreference(context.store, pref::kFileDlgChooseLogo, context.logo_folder.toStdString());
  WritePreference(context.store, pref::kFileDlgChooseFont, context.font_folder.toStdString());
}

}  // namespace brindle
