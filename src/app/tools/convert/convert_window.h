#pragma once
// "Brindle图片批量格式转换工具": every picture of a folder whose format is ticked, written as JPEG
// or PNG into an output folder that mirrors the sub-folders.

#include "app/tools/common/tool_window.h"

class QCheckBox;

namespace brindle {

class LoadFormatBoxes;
class OutputControls;

class ConvertWindow : public ToolWindow {
  Q_OBJECT

 public:
  ConvertWindow(AppContext& context, Dialogs& dialogs, QWidget& main_window);

  OutputControls& output_controls() const { return *output_; }

 protected:
  void LoadSettings() override;
  std::optional<RunJob> PrepareRun() override;

 private:
  LoadFormatBoxes* formats_;
  OutputControls* output_;
  QCheckBox* keep_extension_;
};

}  // namespace brindle
