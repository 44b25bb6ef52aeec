#pragma once
// What the desktop program loads when it starts and its windows share.

#include <QString>
#include <optional>

#include "engine/write/icc_profiles.h"
#include "fonts/font_catalogue.h"
#include "platform/files/app_folders.h"
#include "prefs/preference_store.h"
#include "prefs/preferences.h"
#include "recipe/processing_options.h"

namespace brindle {

class Dialogs;

struct AppContext {
  AppFolders folders;
  PreferenceStore store;
  StartupPreferences preferences;
  IccProfiles profiles;
  FontCatalogue fonts;
  ProcessingOptions recipe{};
  // The folders the choosers remember between runs.
  QString image_folder;
  QString logo_folder;
  QString font_folder;
};

// Start-up after ImageMagick is usable: config.dat (written with the default recipe when missing),
// the preferences, the colour profiles (their problems told), the fonts. None when a folder the
// program writes to cannot be made (told).
std::optional<AppContext> LoadAppContext(const AppFolders& folders, Dialogs& dialogs);

// Stores the choosers' folders (on closing).
void StoreChooserFolders(const AppContext& context);

}  // namespace brindle
