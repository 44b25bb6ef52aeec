#pragma once
// "设置图片处理完成后, 下一次的保存模式": the three save modes, the two overwrite flags only mode 2
// honours, and "保存设置". The rules are the core's (window_rules/panel/save_mode.h); the dialog shows the
// stored values, asks through Dialogs and stores nothing unless "保存设置" is pressed.

#include <QDialog>

class QButtonGroup;
class QCheckBox;

namespace brindle {

class Dialogs;
class PreferenceStore;

class SaveModeDialog : public QDialog {
  Q_OBJECT

 public:
  SaveModeDialog(PreferenceStore& store, Dialogs& dialogs, QWidget* parent = nullptr);

 private:
  void ModeClicked(int clicked);
  void ShowMode(int mode);
  void Save();

  PreferenceStore& store_;
  Dialogs& dialogs_;
  QButtonGroup* modes_;
  QCheckBox* default_overwrite_;
  QCheckBox* overwrite_no_alert_;
  int mode_ = 0;  // the mode selected and, for mode 2, confirmed
};

}  // namespace brindle
