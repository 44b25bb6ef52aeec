#pragma once
// "信息 - F2": the information log's window. It follows the process-wide log, which any thread
// appends to, and shows itself when a line arrives. Closing it only hides it.

#include <QWidget>
#include <atomic>

class QPlainTextEdit;

namespace brindle {

class InfoWindow : public QWidget {
  Q_OBJECT

 public:
  explicit InfoWindow(QWidget* parent = nullptr);
  ~InfoWindow() override;

  void Toggle();
  QString text() const;

 private:
  void Refresh();

  QPlainTextEdit* edit_;
  int listener_ = 0;
  std::atomic<bool> refresh_posted_{false};
};

}  // namespace brindle
