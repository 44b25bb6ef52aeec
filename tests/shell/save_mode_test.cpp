#include "shell/save_mode.h"

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

}  // namespace
}  // namespace brindle
