#pragma once
// The save mode: which of the panel's two save choices ("处理后保存到", "直接覆盖原图") is selected
// when the program starts and after each run, and when choosing to overwrite the originals asks
// first (kOverwriteQuestion, caption "注意", OK/Cancel; Cancel selects "处理后保存到" again).

#include "prefs/preference_store.h"
#include "run/target/placement_mode.h"

namespace brindle {

struct SaveModePreferences {
  int mode = 0;  // 0: clear the choice after a run, 1: keep only "处理后保存到", 2: keep either
  bool default_overwrite = false;   // start with "直接覆盖原图" (mode 2 only)
  bool overwrite_no_alert = false;  // choose "直接覆盖原图" without the question (mode 2 only)
};

// The stored values with the start-up rules: a mode other than 0 to 2 is 0, a flag other than 1 is
// off.
SaveModePreferences ReadSaveModePreferences(const PreferenceStore& store);

// kOverwrite only for mode 2 with default_overwrite, else kNone.
PlacementMode SaveChoiceAtStart(const SaveModePreferences& prefs);

// Mode 0 clears the choice, mode 1 clears only "直接覆盖原图", mode 2 keeps it.
PlacementMode SaveChoiceAfterRun(const SaveModePreferences& prefs, PlacementMode current);

// Whether choosing "直接覆盖原图" asks kOverwriteQuestion: not while the main window is hidden, nor
// in mode 2 with overwrite_no_alert.
bool AsksOverwriteQuestion(const SaveModePreferences& prefs, bool main_window_visible);

// The save-mode dialog's "保存设置": the mode and each flag as 1 or 0.
void WriteSaveModePreferences(PreferenceStore& store, const SaveModePreferences& prefs);

// The dialog's two flags can be changed only while mode 2 is selected.
bool SaveModeFlagsEnabled(int mode);

// Picking mode 2 in the dialog while another mode is selected asks kKeepOverwriteQuestion first
// (caption "注意", OK/Cancel); Cancel keeps the mode that was selected.
bool AsksBeforeSaveMode(int selected, int clicked);
inline constexpr const char* kKeepOverwriteQuestion =
    "直接覆盖原图，有可能因参数设置错误造成无法挽回的损失。\n\n确定要选择该选项吗？";

}  // namespace brindle
