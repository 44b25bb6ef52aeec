#pragma once
// The F1 help popup: a light-yellow borderless window showing the help text of the control under
// the cursor, until it loses activation or is clicked.

#include <QPoint>
#include <QString>
#include <QStringList>
#include <QWidget>

namespace brindle {

class HelpPopup : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kWidth = 326;

  explicit HelpPopup(QWidget* parent = nullptr);

  // One line per "\n"-separated line of `text`, 160 pixels left of the cursor and 16 below it, or
  // above it when the screen has no room below.
  void ShowAt(const QString& text, QPoint cursor_global);

  // The popup's height for `lines` lines of text `text_height` high.
  static int HeightFor(int lines, int text_height);

 protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QStringList lines_;
};

// The control under `global` inside `root` that has a help text: the deepest visible widget there
// or the nearest of its parents with a help text, without leaving the group box it sits in; null
// when there is none.
QWidget* HelpTargetAt(QWidget* root, QPoint global);

// Shows the help of the control under `global` in `popup`; false when no control there has one.
bool ShowHelpFor(QWidget* root, QPoint global, HelpPopup& popup);

}  // namespace brindle
