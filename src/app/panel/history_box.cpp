#include "app/panel/history_box.h"

#include <QAbstractItemView>
#include <QFontMetrics>
#include <algorithm>

namespace brindle {

void HistoryBox::showPopup() {
  const QString current = currentText();
  {
    const QSignalBlocker block(this);
    clear();
    for (const std::string& entry : entries_()) addItem(QString::fromStdString(entry));
    if (!current.isEmpty() && findText(current, Qt::MatchFixedString) < 0) insertItem(0, current);
    setCurrentIndex(findText(current, Qt::MatchFixedString));
    setEditText(current);
  }
  int widest = width();
  const QFontMetrics metrics(view()->font());
  for (int i = 0; i < count(); ++i)
    widest = std::max(widest, metrics.horizontalAdvance(itemText(i)) + 6);
  view()->setMinimumWidth(widest);
  QComboBox::showPopup();
}

}  // namespace brindle
