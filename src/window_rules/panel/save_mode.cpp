#include "window_rules/panel/save_mode.h"

#include "prefs/preferences.h"

namespace brindle {

SaveModePreferences ReadSaveModePreferences(const PreferenceStore& store) {
  SaveModePreferences prefs;
  prefs.mode = NormalizeSaveMode(ReadPreference(store, pref::kPicSaveMode));
  prefs.default_overwrite = ReadPreference(store, pref::kPicSaveDefaultSelectOverwrite) == 1;
  prefs.overwrite_no_alert = ReadPreference(store, pref::kPicSaveSelectOverwriteNoAlert) == 1;
  return prefs;
}

PlacementMode SaveChoiceAtStart(const SaveModePreferences& prefs) {
  return prefs.mode == 2 && prefs.default_overwrite ? PlacementMode::kOverwrite
                                                    : PlacementMode::kNone;
}

PlacementMode SaveChoiceAfterRun(const SaveModePreferences& prefs, PlacementMode current) {
  switch (prefs.mode) {
    case 1:
      return current == PlacementMode::kOverwrite ? PlacementMode::kNone : current;
    case 2:
      return current;
    default:
      return PlacementMode::kNone;
  }
}

bool AsksOverwriteQuestion(const SaveModePreferences& prefs, bool main_window_visible) {
  if (!main_window_visible) return false;
  return !(prefs.mode == 2 && prefs.overwrite_no_alert);
}

void WriteSaveModePreferences(PreferenceStore& store, const SaveModePreferences& prefs) {
  WritePreference(store, pref::kPicSaveMode, NormalizeSaveMode(prefs.mode));
  WritePreference(store, pref::kPicSaveDefaultSelectOverwrite, prefs.default_overwrite ? 1 : 0);
  WritePreference(store, pref::kPicSaveSelectOverwriteNoAlert, prefs.overwrite_no_alert ? 1 : 0);
}

bool SaveModeFlagsEnabled(int mode) { return mode == 2; }

bool AsksBeforeSaveMode(int selected, int clicked) { return clicked == 2 && selected != 2; }

}  // namespace brindle
