#include "app/tools/common/source_mode_choice.h"

#include <QHBoxLayout>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/widgets/plain_widgets.h"

namespace brindle {

SourceModeChoice::SourceModeChoice(QWidget* folder_panel, QWidget* list_panel, QWidget* beside,
                                   QWidget* parent)
    : QWidget(parent),
      folder_mode_(NamedButton<QRadioButton>("选择文件夹", "folder_mode_option")),
      list_mode_(NamedButton<QRadioButton>("选择图片", "list_mode_option")),
      folder_panel_(folder_panel),
      list_panel_(list_panel) {
  auto* modes = new QHBoxLayout;
  modes->addWidget(folder_mode_);
  modes->addWidget(list_mode_);
  modes->addStretch(1);
  if (beside) modes->addWidget(beside);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addLayout(modes);
  layout->addWidget(folder_panel);
  layout->addWidget(list_panel);
  for (QRadioButton* radio : {folder_mode_, list_mode_}) {
    connect(radio, &QRadioButton::clicked, this, [this, radio] {
      Show(radio == list_mode_);
      emit Chosen(radio == list_mode_);
    });
  }
  Show(false);
}

bool SourceModeChoice::list_mode() const { return list_mode_->isChecked(); }

void SourceModeChoice::Show(bool list_mode) {
  list_mode_->setChecked(list_mode);
  folder_mode_->setChecked(!list_mode);
  folder_panel_->setVisible(!list_mode);
  list_panel_->setVisible(list_mode);
}

}  // namespace brindle
