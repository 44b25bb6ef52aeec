#include "app/tools/common/picture_list_panel.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/widgets/plain_widgets.h"

namespace brindle {

PictureListPanel::PictureListPanel(const char* add_name, QWidget* parent)
    : QWidget(parent),
      list_(Named(new QListWidget, "picture_list", "图片列表")),
      delete_(NamedButton<QPushButton>("删除", "delete_button")),
      clear_(NamedButton<QPushButton>("清空", "clear_button")) {
  list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  list_->setFixedHeight(120);
  list_->installEventFilter(this);
  auto* add = NamedButton<QPushButton>("添加", add_name);
  auto* buttons = new QVBoxLayout;
  for (QPushButton* button : {add, delete_, clear_}) buttons->addWidget(button);
  buttons->addStretch(1);
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(list_, 1);
  layout->addLayout(buttons);
  connect(add, &QPushButton::clicked, this, &PictureListPanel::AddClicked);
  connect(delete_, &QPushButton::clicked, this, &PictureListPanel::DeleteClicked);
  connect(clear_, &QPushButton::clicked, this, &PictureListPanel::ClearClicked);
  connect(list_, &QListWidget::itemSelectionChanged, this,
          [this] { delete_->setEnabled(!list_->selectedItems().isEmpty()); });
  Show({});
}

void PictureListPanel::Show(const std::vector<std::filesystem::path>& paths) {
  list_->clear();
  for (const std::filesystem::path& path : paths) {
    auto* item = new QListWidgetItem(QString::fromStdString(path.filename().string()), list_);
    item->setToolTip(QString::fromStdString(path.string()));
  }
  delete_->setEnabled(false);
  clear_->setEnabled(!paths.empty());
}

void PictureListPanel::Select(int row) {
  if (row >= 0) list_->setCurrentRow(row);
}

std::vector<int> PictureListPanel::SelectedRows() const {
  std::vector<int> rows;
  for (const QModelIndex& index : list_->selectionModel()->selectedRows()) {
    rows.push_back(index.row());
  }
  return rows;
}

bool PictureListPanel::eventFilter(QObject* watched, QEvent* event) {
  if (watched == list_ && event->type() == QEvent::KeyPress &&
      static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete && delete_->isEnabled()) {
    emit DeleteClicked();
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace brindle
