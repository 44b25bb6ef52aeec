#include "app/dialogs/auto_fill_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/dialogs/dialogs.h"
#include "app/widgets/plain_widgets.h"
#include "prefs/auto_fill.h"

namespace brindle {
namespace {

QComboBox* CountList(const char* object_name, int count, QWidget* parent) {
  auto* list = new QComboBox(parent);
  list->setObjectName(object_name);
  for (int i = 0; i <= kAutoFillMaxCount; ++i) list->addItem(QString::number(i));
  list->setMaxVisibleItems(kAutoFillMaxCount + 1);
  list->setCurrentIndex(count);
  return list;
}

}  // namespace

AutoFillDialog::AutoFillDialog(PreferenceStore& store, Dialogs& dialogs, QWidget* parent)
    : QDialog(parent), store_(store), dialogs_(dialogs) {
  setObjectName("auto_fill_dialog");
  setWindowTitle("自动填充设置");
  const AutoFillSettings settings = ReadAutoFillSettings(store_);
  text_count_ = CountList("text_count", settings.text_max_count, this);
  image_count_ = CountList("image_count", settings.image_max_count, this);
  hide_missing_ = new QCheckBox("隐藏已不存在的图片", this);
  hide_missing_->setObjectName("hide_missing_pictures");
  hide_missing_->setAccessibleName(hide_missing_->text());
  hide_missing_->setChecked(settings.hide_missing_pictures);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(20, 18, 20, 16);
  layout->setSpacing(8);
  layout->addWidget(PlainLabel("【文字水印】中的可选文字列表：", this));
  layout->addLayout(
      CountRow(text_count_, "clear_texts", kClearTextHistoryQuestion, &ClearTextHistory));
  layout->addSpacing(10);
  layout->addWidget(PlainLabel("【图片水印】中的可选图片列表：", this));
  layout->addLayout(
      CountRow(image_count_, "clear_pictures", kClearPictureHistoryQuestion, &ClearPictureHistory));

  auto* missing = new QHBoxLayout;
  missing->setContentsMargins(16, 0, 0, 0);
  missing->addWidget(hide_missing_);
  missing->addStretch(1);
  auto* prune = NamedButton<QPushButton>("删除已不存在的图片记录", "delete_missing", this);
  missing->addWidget(prune);
  layout->addLayout(missing);
  layout->addStretch(1);

  QPushButton* ok = nullptr;
  QPushButton* cancel = nullptr;
  layout->addLayout(DialogButtons(this, "确定", "ok_button", 88, ok, cancel));

  connect(prune, &QPushButton::clicked, this, &AutoFillDialog::DeleteMissing);
  connect(ok, &QPushButton::clicked, this, &AutoFillDialog::Save);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

  setFixedSize(sizeHint().expandedTo(QSize(346, 286)));
  PlaceCentred(*this, 26);
}

QHBoxLayout* AutoFillDialog::CountRow(QComboBox* count, const char* clear_name,
                                      const char* question, void (*clear)(PreferenceStore&)) {
  auto* row = new QHBoxLayout;
  row->setContentsMargins(16, 0, 0, 0);
  QLabel* before = PlainLabel("显示最近使用过的", this);
  before->setBuddy(count);
  // A list is named by the label in front of it.
  count->setAccessibleName(before->text());
  row->addWidget(before);
  row->addWidget(count);
  row->addWidget(PlainLabel("条记录。", this));
  row->addStretch(1);
  QPushButton* button = NamedButton<QPushButton>("清空记录", clear_name, this);
  row->addWidget(button);
  connect(button, &QPushButton::clicked, this, [this, question, clear] {
    if (!dialogs_.AskOkCancel(this, "询问", question, MessageIcon::kQuestion)) return;
    clear(store_);
    dialogs_.Tell(this, "提示", kHistoryClearedText, MessageIcon::kInformation);
  });
  return row;
}

void AutoFillDialog::DeleteMissing() {
  const int dropped = DeleteMissingPictures(store_);
  dialogs_.Tell(this, "提示", QString::fromStdString(DeleteMissingPicturesText(dropped)),
                MessageIcon::kInformation);
}

void AutoFillDialog::Save() {
  WriteAutoFillSettings(store_, {text_count_->currentIndex(), image_count_->currentIndex(),
                                 hide_missing_->isChecked()});
  accept();
}

}  // namespace brindle
