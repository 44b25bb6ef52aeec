#include "app/preview/latest_request.h"

#include <QApplication>

namespace brindle {

LatestRequest::~LatestRequest() { EndWait(); }

int LatestRequest::Begin() {
  // One override cursor however many requests are outstanding, so one restore ends it.
  if (!waiting_ && cursor_ == Cursor::kWait) QApplication::setOverrideCursor(Qt::WaitCursor);
  waiting_ = true;
  return ++generation_;
}

bool LatestRequest::Finish(int generation) {
  if (generation != generation_) return false;
  EndWait();
  return true;
}

void LatestRequest::Cancel() {
  ++generation_;
  EndWait();
}

void LatestRequest::EndWait() {
  if (waiting_ && cursor_ == Cursor::kWait) QApplication::restoreOverrideCursor();
  waiting_ = false;
}

}  // namespace brindle
