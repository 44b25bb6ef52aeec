#pragma once
// The crop and join windows' choice of source: "选择文件夹" with the folder panel, or "选择图片"
// with the picture list panel; only the chosen mode's panel shows.

#include <QWidget>

class QRadioButton;

namespace brindle {

class SourceModeChoice : public QWidget {
  Q_OBJECT

 public:
  // The two radios in a row (with `beside`, when given, at its right end) above both panels.
  SourceModeChoice(QWidget* folder_panel, QWidget* list_panel, QWidget* beside = nullptr,
                   QWidget* parent = nullptr);

  bool list_mode() const;
  // Ticks the mode's radio and shows its panel, as loading the stored settings does.
  void Show(bool list_mode);

 signals:
  // The user chose a mode; its panel is already shown.
  void Chosen(bool list_mode);

 private:
  QRadioButton* folder_mode_;
  QRadioButton* list_mode_;
  QWidget* folder_panel_;
  QWidget* list_panel_;
};

}  // namespace brindle
