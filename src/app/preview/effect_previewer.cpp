#include "app/preview/effect_previewer.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QStackedWidget>

#include "app/list/picture_list_model.h"
#include "app/panel/settings_panel.h"
#include "app/widgets/picture_pane.h"
#include "panel/values/panel_controls.h"
#include "window_rules/preview/effect_preview_rules.h"

namespace brindle {

EffectPreviewer::EffectPreviewer(PictureListModel& model, SettingsPanel& panel,
                                 QStackedWidget& views, std::function<int()> first_selected,
                                 QObject* parent)
    : QObject(parent),
      model_(model),
      panel_(panel),
      views_(views),
      first_selected_(std::move(first_selected)),
      pane_(new PicturePane) {
  pane_->setObjectName(
      QString::fromUtf8(window_control::kEffectPreview.data(),
                        static_cast<int>(window_control::kEffectPreview.size())));
  pane_->setAccessibleName("效果预览");
  pane_->setFrameShape(QFrame::StyledPanel);
  pane_->setFrameShadow(QFrame::Sunken);
  pane_->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(pane_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
    QMenu menu(pane_->window());
    menu.addAction("退出预览", this, &EffectPreviewer::Close);
    menu.exec(pane_->mapToGlobal(at));
  });
  pane_->installEventFilter(this);
  views_.addWidget(pane_);
  connect(&worker_, &PreviewWorker::Made, this, &EffectPreviewer::ShowMade);
}

bool EffectPreviewer::shown() const { return views_.currentWidget() == pane_; }

void EffectPreviewer::Toggle() {
  if (busy_ || opening_) return;
  if (shown()) {
    Close();
    return;
  }
  if (!Request(true)) emit OpenFailed();
}

void EffectPreviewer::Refresh() {
  if (shown() && !busy_) Request(false);
}

bool EffectPreviewer::Request(bool opening) {
  // Validation may show a box, whose event loop must not start a second request.
  busy_ = true;
  struct Release {
    bool& busy;
    ~Release() { busy = false; }
  } release{busy_};

  std::optional<RunRecipe> recipe = panel_.Validate();
  if (!recipe) return false;
  if (index_ < 0) {
    const int first = first_selected_();
    if (first < 0) return false;
    index_ = first;
  }
  if (index_ >= model_.rowCount()) {
    index_ = -1;
    return false;
  }
  const PictureEntry& entry = model_.list()[static_cast<std::size_t>(index_)];
  name_ = entry.name;
  opening_ = opening;
  worker_.Request(
      {std::move(*recipe), entry.path, static_cast<int>(entry.flip), entry.rotation});
  return true;
}

void EffectPreviewer::ShowMade(const QImage& image, const QString& source_status,
                               const QString& result_status) {
  const bool opening = opening_;
  opening_ = false;
  if (image.isNull()) {
    index_ = -1;
    if (opening) emit OpenFailed();
    return;
  }

  if (opening) {
    pane_->SetFit(false);
    pane_->ShowImage(image);
  } else {
    pane_->ReplaceImage(image);
  }
  if (!shown()) views_.setCurrentWidget(pane_);
  emit Shown(QString::fromStdString(PreviewWindowTitle(model_.rowCount(), name_)), source_status,
             result_status);
  if (opening) {
    panel_.SetHoverHints(true);
    pane_->setFocus(Qt::OtherFocusReason);
  }
}

void EffectPreviewer::Close() {
  if (!shown()) return;
  pane_->Clear();
  worker_.Forget();  // a preview still being made is not shown
  index_ = -1;
  panel_.SetHoverHints(false);
  emit Closed();
}

void EffectPreviewer::Step(bool forward) {
  if (!shown()) return;
  std::optional<int> next = StepPreviewIndex(index_, model_.rowCount(), forward);
  if (!next) {
    QApplication::beep();
    return;
  }
  index_ = *next;
  Refresh();
}

bool EffectPreviewer::eventFilter(QObject* watched, QEvent* event) {
  if (watched == pane_ && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Left || key == Qt::Key_Up || key == Qt::Key_Right || key == Qt::Key_Down) {
      Step(key == Qt::Key_Right || key == Qt::Key_Down);
      return true;
    }
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace brindle
