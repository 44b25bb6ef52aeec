#pragma once
// "BrindlePNG图片批量处理工具": every "*.png" of a folder resized, turned black and white or
// flattened as chosen and written again as PNG, normally PNG-8, into an output folder or over the
// source files.

#include "app/tools/common/tool_window.h"
#include "window_rules/tools/png/png_save_choice.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace brindle {

class OutputControls;

class PngWindow : public ToolWindow {
  Q_OBJECT

 public:
  PngWindow(AppContext& context, Dialogs& dialogs, QWidget& main_window);

 protected:
  void LoadSettings() override;
  std::optional<RunJob> PrepareRun() override;
  void AfterRun(const RunOutcome& outcome) override;
  void SetSource(const std::filesystem::path& folder) override;
  void ChooseOutput() override;

 private:
  void ShowSaveChoice();
  void FollowResize();
  void ChooseOverwrite();

  PngSaveChoice choice_;
  QCheckBox* resize_;
  QComboBox* kind_;
  QComboBox* side_;
  QLineEdit* length_;
  QCheckBox* keep_proportions_;
  QCheckBox* black_white_;
  QRadioButton* to_folder_;
  QRadioButton* overwrite_;
  QPushButton* output_button_ = nullptr;
  OutputControls* output_;
};

}  // namespace brindle
