#pragma once
// "Brindle图片批量切片工具": every picture of a folder cut into a grid of tiles, each saved as a
// picture of its own, with an HTML page per picture that puts them back together.

#include "app/tools/common/tool_window.h"

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QRadioButton;

namespace brindle {

class LoadFormatBoxes;
class OutputControls;

class SliceWindow : public ToolWindow {
  Q_OBJECT

 public:
  SliceWindow(AppContext& context, Dialogs& dialogs, QWidget& main_window);

  OutputControls& output_controls() const { return *output_; }

 protected:
  void LoadSettings() override;
  std::optional<RunJob> PrepareRun() override;

 private:
  // One direction: its heading check box, the radios and the boxes of its two modes.
  struct Direction {
    QGroupBox* group;
    QRadioButton* count_radio;
    QLineEdit* count_box;
    QRadioButton* pixel_radio;
    QLineEdit* pixel_box;
  };
  Direction MakeDirection(const QString& title, const char* group_name, const char* count_name,
                          const char* pixel_name, const QString& count_text);
  // The enabled states of the core's rule; with take_focus the enabled box gets the focus.
  void Follow(const Direction& direction, bool take_focus);

  LoadFormatBoxes* formats_;
  Direction rows_;
  Direction columns_;
  QCheckBox* sub_folder_per_picture_;
  OutputControls* output_;
  QCheckBox* html_;
};

}  // namespace brindle
