#pragma once
// "自动填充设置": how many used texts and pictures the watermark boxes offer, whether pictures that
// no longer exist are hidden, and the buttons that clear or prune the histories. The histories are
// the core's (prefs/auto_fill.h). The clear and prune buttons act at once; the counts and the check
// box are stored only by "确定".

#include <QDialog>

class QCheckBox;
class QComboBox;
class QHBoxLayout;

namespace brindle {

class Dialogs;
class PreferenceStore;

class AutoFillDialog : public QDialog {
  Q_OBJECT

 public:
  AutoFillDialog(PreferenceStore& store, Dialogs& dialogs, QWidget* parent = nullptr);

 private:
  // "显示最近使用过的" [count] "条记录。" "清空记录", the button clearing after the question.
  QHBoxLayout* CountRow(QComboBox* count, const char* clear_name, const char* question,
                        void (*clear)(PreferenceStore&));
  void DeleteMissing();
  void Save();

  PreferenceStore& store_;
  Dialogs& dialogs_;
  QComboBox* text_count_;
  QComboBox* image_count_;
  QCheckBox* hide_missing_;
};

}  // namespace brindle
