#include "window_rules/panel/save_mode.h"

#include <gtest/gtest.h>

#include "prefs/preferences.h"
#include "support/test_support.h"

namespace brindle {
namespace {

TEST(SaveMode, StoredValuesAndTheChoiceAcrossRuns) {
  test::TempFolder folder;
  PreferenceStore store(folder / "Brindle.ini");
  SaveModePreferences prefs = ReadSaveModePreferences(store);
  EXPECT_EQ(prefs.mode, 0);
  EXPECT_FALSE(prefs.default_overwrite || prefs.overwrite_no_alert);
  WritePreference(store, pref::kPicSaveMode, 3);
  WritePreference(store, pref::kPicSaveDefaultSelectOverwrite, 1);
  WritePreference(store, pref::kPicSaveSelectOverwriteNoAlert, 2);
  prefs = ReadSaveModePreferences(store);
  EXPECT_EQ(prefs.mode, 0);
  EXPECT_TRUE(prefs.default_overwrite);
  EXPECT_FALSE(prefs.overwrite_no_alert);

  // Both flags are honoured only in mode 2.
  EXPECT_EQ(SaveChoiceAtStart({1, true, true}), PlacementMode::kNone);
  EXPECT_TRUE(AsksOverwriteQuestion({1, true, true}, true));
  EXPECT_EQ(SaveChoiceAtStart({2, true, true}), PlacementMode::kOverwrite);
  EXPECT_FALSE(AsksOverwriteQuestion({2, true, true}, true));
  EXPECT_TRUE(AsksOverwriteQuestion({2, true, false}, true));
  EXPECT_FALSE(AsksOverwriteQuestion({0, false, false}, false));

  EXPECT_EQ(SaveChoiceAfterRun({0}, PlacementMode::kSaveToFolder), PlacementMode::kNone);
  EXPECT_EQ(SaveChoiceAfterRun({1}, PlacementMode::kOverwrite), PlacementMode::kNone);
  EXPECT_EQ(SaveChoiceAfterRun({1}, PlacementMode::kSaveToFolder), PlacementMode::kSaveToFolder);
  EXPECT_EQ(SaveChoiceAfterRun({2}, PlacementMode::kOverwrite), PlacementMode::kOverwrite);
}

TEST(SaveMode, DialogStoresWhatItShowsAndAsksOnlyWhenTurningToMode2) {
  test::TempFolder folder;
  PreferenceStore store(folder / "Brindle.ini");
  WriteSaveModePreferences(store, {2, true, false});
  EXPECT_EQ(ReadPreference(store, pref::kPicSaveMode), 2);
  EXPECT_EQ(ReadPreference(store, pref::kPicSaveDefaultSelectOverwrite), 1);
  EXPECT_EQ(ReadPreference(store, pref::kPicSaveSelectOverwriteNoAlert), 0);
  // Flags ticked before leaving mode 2 are kept as shown; they are honoured only in mode 2.
  WriteSaveModePreferences(store, {1, false, true});
  const SaveModePreferences prefs = ReadSaveModePreferences(store);
  EXPECT_EQ(prefs.mode, 1);
  EXPECT_FALSE(prefs.default_overwrite);
  EXPECT_TRUE(prefs.overwrite_no_alert);

  EXPECT_FALSE(SaveModeFlagsEnabled(0));
  EXPECT_FALSE(SaveModeFlagsEnabled(1));
  EXPECT_TRUE(SaveModeFlagsEnabled(2));
  EXPECT_TRUE(AsksBeforeSaveMode(0, 2));
  EXPECT_TRUE(AsksBeforeSaveMode(1, 2));
  EXPECT_FALSE(AsksBeforeSaveMode(2, 2));
  EXPECT_FALSE(AsksBeforeSaveMode(2, 0));
}

}  // namespace
}  // namespace brindle
