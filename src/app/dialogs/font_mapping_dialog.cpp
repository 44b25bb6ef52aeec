#include "app/dialogs/font_mapping_dialog.h"

#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

#include "app/dialogs/balloon_hints.h"
#include "app/dialogs/dialogs.h"
#include "app/main/app_context.h"
#include "app/panel/settings_panel.h"
#include "app/widgets/plain_widgets.h"
#include "fonts/font_mapping.h"

namespace brindle {
namespace {

// The description as the user reads it, then the patterns in both cases for a case-sensitive file
// system.
constexpr const char* kFontFilter =
    "字体文件(*.TTF;*.TTC;*.OTF) (*.TTF *.ttf *.TTC *.ttc *.OTF *.otf)";

// The lift above the screen's middle that the small dialogs share.
constexpr int kDialogLift = 26;

QLineEdit* NamedBox(std::string_view object_name, QLabel* label, QWidget* parent) {
  auto* box = new QLineEdit(parent);
  box->setObjectName(QString::fromUtf8(object_name));
  // A box is named by the label in front of it.
  box->setAccessibleName(label->text());
  label->setBuddy(box);
  return box;
}

}  // namespace

FontMappingAddDialog::FontMappingAddDialog(AppContext& context, Dialogs& dialogs,
                                           BalloonHints& balloons, QWidget* parent)
    : QDialog(parent), context_(context), dialogs_(dialogs), balloons_(balloons) {
  setObjectName("font_mapping_add_dialog");
  setWindowTitle("字体文件映射 - 添加");
  QLabel* name_label = PlainLabel("字体名称：", this);
  QLabel* path_label = PlainLabel("字体路径：", this);
  name_ = NamedBox(kMappingNameControl, name_label, this);
  name_->setMaxLength(32);
  path_ = NamedBox(kMappingPathControl, path_label, this);
  auto* choose = NamedButton<QPushButton>("选择...", "choose_button", this);

  auto* grid = new QGridLayout;
  grid->setHorizontalSpacing(8);
  grid->setVerticalSpacing(14);
  grid->addWidget(name_label, 0, 0);
  grid->addWidget(name_, 0, 1);
  grid->addWidget(path_label, 1, 0);
  grid->addWidget(path_, 1, 1);
  grid->addWidget(choose, 1, 2);
  grid->addWidget(PlainLabel("注意：字体路径中不能含有中文。", this), 2, 1, 1, 2);

  QPushButton* ok = nullptr;
  QPushButton* cancel = nullptr;
  QHBoxLayout* buttons = DialogButtons(this, "确定", "ok_button", 88, ok, cancel);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(24, 24, 24, 16);
  layout->addLayout(grid);
  layout->addStretch(1);
  layout->addLayout(buttons);

  connect(choose, &QPushButton::clicked, this, &FontMappingAddDialog::ChooseFile);
  connect(ok, &QPushButton::clicked, this, &FontMappingAddDialog::Check);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

  setFixedSize(sizeHint().expandedTo(QSize(551, 216)));
  PlaceCentred(*this, kDialogLift);
  name_->setFocus(Qt::OtherFocusReason);
}

void FontMappingAddDialog::ChooseFile() {
  const QString chosen = dialogs_.ChooseOpenFile(this, "选择字体文件", kFontFilter,
                                                 ChooserStartFolder(context_.font_folder));
  if (chosen.isEmpty()) return;
  context_.font_folder = QFileInfo(chosen).absolutePath();
  path_->setText(chosen);
}

void FontMappingAddDialog::Check() {
  const FontMapping mapping =
      FontMappingFromInput(name_->text().toStdString(), path_->text().toStdString());
  if (std::optional<Refusal> refusal = CheckFontMapping(context_.fonts, mapping)) {
    QWidget* box = findChild<QWidget*>(QString::fromStdString(refusal->control));
    balloons_.Show(box, QString::fromStdString(refusal->hint_title),
                   QString::fromStdString(refusal->hint_text), refusal->icon);
    box->setFocus(Qt::OtherFocusReason);
    return;
  }
  mapping_ = mapping;
  accept();
}

FontMappingDialog::FontMappingDialog(AppContext& context, Dialogs& dialogs, BalloonHints& balloons,
                                     SettingsPanel& panel, QWidget* parent)
    : QDialog(parent),
      context_(context),
      dialogs_(dialogs),
      balloons_(balloons),
      panel_(panel),
      list_(new QTreeWidget(this)),
      delete_(NamedButton<QPushButton>("删除", "delete_button", this)) {
  setObjectName("font_mapping_dialog");
  setWindowTitle("字体文件映射");
  list_->setObjectName("font_mappings");
  list_->setAccessibleName("字体文件映射");
  list_->setHeaderLabels({"字体名称", "字体路径"});
  list_->setRootIsDecorated(false);
  list_->setUniformRowHeights(true);
  list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  list_->setSelectionBehavior(QAbstractItemView::SelectRows);
  list_->header()->setStretchLastSection(false);
  list_->setColumnWidth(0, 260);
  list_->setColumnWidth(1, 468);

  auto* add = NamedButton<QPushButton>("添加", "add_button", this);
  add->setDefault(true);
  add->setMinimumWidth(88);
  delete_->setMinimumWidth(88);
  auto* bottom = new QHBoxLayout;
  bottom->addWidget(PlainLabel(
      "有些字体在软件中没有显示？可通过字体映射来使用这些字体。注意：字体路径中不能含有中文。",
      this));
  bottom->addStretch(1);
  bottom->addWidget(add);
  bottom->addWidget(delete_);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(10, 10, 10, 10);
  layout->addWidget(list_, 1);
  layout->addLayout(bottom);

  connect(list_, &QTreeWidget::itemSelectionChanged, this,
          [this] { delete_->setEnabled(!list_->selectedItems().isEmpty()); });
  connect(add, &QPushButton::clicked, this, &FontMappingDialog::Add);
  connect(delete_, &QPushButton::clicked, this, &FontMappingDialog::DeleteSelected);

  setFixedSize(sizeHint().expandedTo(QSize(768, 356)));
}

int FontMappingDialog::exec() {
  list_->clear();
  for (const FontMapping& mapping : ReadFontMappings(context_.store)) AddRow(mapping);
  delete_->setEnabled(false);
  PlaceCentred(*this, kDialogLift);
  return QDialog::exec();
}

void FontMappingDialog::AddRow(const FontMapping& mapping) {
  list_->addTopLevelItem(new QTreeWidgetItem(
      {QString::fromStdString(mapping.face_name), QString::fromStdString(mapping.file)}));
}

void FontMappingDialog::Add() {
  FontMappingAddDialog dialog(context_, dialogs_, balloons_, this);
  if (dialog.exec() != QDialog::Accepted || !dialog.mapping()) return;
  const FontMapping& mapping = *dialog.mapping();
  AddFontMapping(context_.store, context_.fonts, mapping);
  panel_.OfferFont(mapping.face_name);
  AddRow(mapping);
}

void FontMappingDialog::DeleteSelected() {
  std::vector<int> rows;
  for (QTreeWidgetItem* item : list_->selectedItems()) {
    rows.push_back(list_->indexOfTopLevelItem(item));
  }
  // Last to first, so the rows still to come keep their numbers.
  std::sort(rows.begin(), rows.end(), std::greater<>());
  for (const int row : rows) {
    const std::unique_ptr<QTreeWidgetItem> item(list_->takeTopLevelItem(row));
    const FontMapping mapping{item->text(0).toStdString(), item->text(1).toStdString()};
    if (DeleteFontMapping(context_.store, context_.fonts, mapping)) {
      panel_.WithdrawFont(mapping.face_name);
    }
  }
  list_->setFocus(Qt::OtherFocusReason);
}

}  // namespace brindle
