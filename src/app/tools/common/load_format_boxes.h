#pragma once
// A tool's source format check boxes in one row and the load-format mask they stand for. Stored
// bits without a box (the reserved one) are kept as they were loaded.

#include <QList>
#include <QWidget>

#include "tools/common/load_format_mask.h"

class QCheckBox;

namespace brindle {

class LoadFormatBoxes : public QWidget {
  Q_OBJECT

 public:
  // all_formats: the conversion tool's twelve boxes, else "jpg", "png", "gif", "bmp", "webp",
  // "heic" and "avif".
  // name_pattern: each box's object name, with %1 for its text.
  LoadFormatBoxes(bool all_formats, const QString& name_pattern, QWidget* parent = nullptr);

  void Set(LoadFormatMask mask);
  LoadFormatMask mask() const;

 signals:
  // A box was ticked or cleared by the user.
  void Clicked();

 private:
  QList<QCheckBox*> boxes_;
  QList<LoadFormatMask> bits_;
  LoadFormatMask hidden_bits_ = 0;
};

}  // namespace brindle
