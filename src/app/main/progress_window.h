#pragma once
// "处理进度": the main batch's progress, shown over the main window for the length of a run, with
// the button that asks the run to stop.

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

namespace brindle {

class ProgressWindow : public QDialog {
  Q_OBJECT

 public:
  explicit ProgressWindow(QWidget* parent = nullptr);

  // Shown for a run over count pictures, "停止" ready again.
  void Begin(int count);
  // The picture at index (0-based) is being processed.
  void ShowPicture(int index);
  QString text() const;
  QPushButton* stop_button() const { return stop_; }

 signals:
  void StopPressed();

 protected:
  // The window closes with the run, not before.
  void reject() override {}

 private:
  QProgressBar* bar_;
  QPushButton* stop_;
  QLabel* text_;
  int count_ = 0;
  int divisor_ = 1;
};

}  // namespace brindle
