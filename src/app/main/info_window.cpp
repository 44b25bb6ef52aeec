#include "app/main/info_window.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QVBoxLayout>

#include "base/info_log.h"

namespace brindle {

InfoWindow::InfoWindow(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint), edit_(new QPlainTextEdit(this)) {
  setWindowTitle("信息 - F2");
  resize(616, 168);
  edit_->setReadOnly(true);
  edit_->setAccessibleName("信息");
  edit_->setStyleSheet("QPlainTextEdit { background: black; color: rgb(0, 255, 0); }");
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(edit_);
  // Called under the log's lock on the appending thread: only post the refresh.
  listener_ = InfoLog::Global().AddListener([this](std::string_view) {
    if (!refresh_posted_.exchange(true)) {
      QMetaObject::invokeMethod(this, &InfoWindow::Refresh, Qt::QueuedConnection);
    }
  });
}

InfoWindow::~InfoWindow() { InfoLog::Global().RemoveListener(listener_); }

void InfoWindow::Toggle() {
  if (isVisible()) {
    hide();
  } else {
    Refresh();
    show();
  }
}

QString InfoWindow::text() const { return edit_->toPlainText(); }

void InfoWindow::Refresh() {
  refresh_posted_.store(false);
  std::string text = InfoLog::Global().Text();
  // The log ends lines with "\r\n"; the box shows plain line breaks.
  std::erase(text, '\r');
  edit_->setPlainText(QString::fromStdString(text));
  edit_->verticalScrollBar()->setValue(edit_->verticalScrollBar()->maximum());
  if (!isVisible() && !text.empty()) show();
}

}  // namespace brindle
