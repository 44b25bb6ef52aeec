#include "app/widgets/box_refresh.h"

#include <QLineEdit>

namespace brindle {

namespace {

constexpr const char* kPreviewedText = "previewed_text";

}  // namespace

void RefreshOnEnterOrChange(QLineEdit* box, std::function<void()> refresh) {
  QObject::connect(box, &QLineEdit::returnPressed, box, [box, refresh] {
    MarkPreviewed(box);
    refresh();
  });
  QObject::connect(box, &QLineEdit::editingFinished, box, [box, refresh] {
    if (box->property(kPreviewedText).toString() == box->text()) return;
    MarkPreviewed(box);
    refresh();
  });
}

void MarkPreviewed(QLineEdit* box) { box->setProperty(kPreviewedText, box->text()); }

}  // namespace brindle
