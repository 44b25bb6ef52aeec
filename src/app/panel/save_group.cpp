// "处理后保存到" / "直接覆盖原图": where the pictures go, and their format.

#include "app/panel/settings_panel.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "app/panel/panel_widgets.h"
#include "panel/values/panel_choices.h"
#include "panel/values/panel_controls.h"
#include "window_rules/panel/save_mode.h"

namespace brindle {

namespace pc = panel_control;

QWidget* SettingsPanel::BuildSaveGroup() {
  auto* group = new QGroupBox;
  auto* grid = new QGridLayout(group);
  grid->setContentsMargins(6, 6, 6, 6);
  grid->setHorizontalSpacing(3);
  save_to_folder_ = Named(new QRadioButton("处理后保存到"), pc::kSaveToFolder, "处理后保存到");
  overwrite_ = Named(new QRadioButton("直接覆盖原图"), pc::kOverwrite, "直接覆盖原图");
  // Neither may be selected: the group is not exclusive, the panel keeps the choice.
  save_choice_ = new QButtonGroup(group);
  save_choice_->setExclusive(false);
  save_choice_->addButton(save_to_folder_);
  save_choice_->addButton(overwrite_);
  auto* choice_row = new QHBoxLayout;
  choice_row->addWidget(save_to_folder_);
  choice_row->addWidget(overwrite_);
  grid->addLayout(choice_row, 0, 0, 1, 3);

  save_folder_ = Named(new QLineEdit, pc::kSaveFolderBox, "保存到：");
  save_folder_->setReadOnly(true);
  save_folder_button_ = Named(new QPushButton("选择"), pc::kSaveFolderButton, "选择");
  save_folder_button_->setFixedWidth(44);
  grid->addWidget(Caption("保存到："), 1, 0);
  grid->addWidget(save_folder_, 1, 1);
  grid->addWidget(save_folder_button_, 1, 2);
  keep_structure_ = Named(new QCheckBox("按原文件夹(子文件夹)结构保存图片"), pc::kKeepStructure,
                          "按原文件夹(子文件夹)结构保存图片");
  grid->addWidget(keep_structure_, 2, 0, 1, 3);
  output_format_ = Named(new QComboBox, pc::kOutputFormatList, "输出格式：");
  output_format_->addItems({"JPEG", "WebP", "AVIF"});
  grid->addWidget(Caption("输出格式："), 3, 0);
  grid->addWidget(output_format_, 3, 1, 1, 2, Qt::AlignLeft);

  connect(save_to_folder_, &QRadioButton::clicked, this, [this] {
    SelectSaveMode(values_, PlacementMode::kSaveToFolder);
    Changed(std::nullopt);
  });
  connect(overwrite_, &QRadioButton::clicked, this, &SettingsPanel::SelectOverwrite);
  connect(save_folder_button_, &QPushButton::clicked, this,
          &SettingsPanel::ChooseSaveFolderWithChooser);
  return group;
}

}  // namespace brindle
