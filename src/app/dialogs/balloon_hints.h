#pragma once
// Balloon hints: a small window pointing at a control with a title, an icon and a text, open until
// the next mouse press or key press. At most seven are open; an eighth closes the others first.

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <vector>

#include "base/refusal.h"

class QWidget;

namespace brindle {

class BalloonHints : public QObject {
  Q_OBJECT

 public:
  static constexpr int kMostOpen = 7;

  // Watches the whole application for the presses that close the hints.
  explicit BalloonHints(QObject* parent = nullptr);

  // Points at the middle of the control's bottom edge, or of its top edge when there is no room
  // below it; the control stays uncovered.
  void Show(QWidget* control, const QString& title, const QString& text, MessageIcon icon);
  // Points at a point of a widget (in the widget's coordinates).
  void ShowAt(QWidget* widget, const QPoint& point, const QString& title, const QString& text,
              MessageIcon icon);
  void DismissAll();
  int open_count() const;
  // "title | text" of each open hint.
  QStringList open_texts() const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Open(QWidget* owner, const QPoint& below, const QPoint& above, const QString& title,
            const QString& text, MessageIcon icon);

  std::vector<QPointer<QWidget>> open_;
};

}  // namespace brindle
