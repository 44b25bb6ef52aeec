#include "app/main/progress_window.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include "app/dialogs/dialogs.h"
#include "run/batch/batch_progress.h"

namespace brindle {

ProgressWindow::ProgressWindow(QWidget* parent)
    : QDialog(parent),
      bar_(new QProgressBar(this)),
      stop_(new QPushButton("停止", this)),
      text_(new QLabel(this)) {
  setObjectName("progress_window");
  setWindowTitle("处理进度");
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
  setWindowModality(Qt::ApplicationModal);
  setFixedSize(346, 85);
  bar_->setGeometry(16, 22, 239, 23);
  bar_->setTextVisible(false);
  bar_->setAccessibleName("处理进度");
  stop_->setObjectName("stop_button");
  stop_->setGeometry(265, 21, 66, 25);
  stop_->setAccessibleName("停止");
  text_->setGeometry(16, 55, 318, 21);
  text_->setTextFormat(Qt::PlainText);
  text_->setObjectName("progress_text");
  connect(stop_, &QPushButton::clicked, this, [this] {
    stop_->setText("停止中...");
    stop_->setAccessibleName("停止中...");
    stop_->setEnabled(false);
    emit StopPressed();
  });
}

void ProgressWindow::Begin(int count) {
  count_ = count;
  divisor_ = ProgressBarDivisor(count);
  stop_->setText("停止");
  stop_->setAccessibleName("停止");
  stop_->setEnabled(true);
  bar_->setRange(0, count / divisor_);
  bar_->setValue(0);
  text_->setText(QString::fromStdString(BatchProgressText(count, 1)));
  PlaceCentred(*this, 26);
  show();
  raise();
}

void ProgressWindow::ShowPicture(int index) {
  const int number = index + 1;
  bar_->setValue(number / divisor_);
  text_->setText(QString::fromStdString(BatchProgressText(count_, number)));
}

QString ProgressWindow::text() const { return text_->text(); }

}  // namespace brindle
