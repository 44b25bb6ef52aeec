// "边框设置": the border's place, size, colour and padding.

#include "app/panel/settings_panel.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSlider>

#include "app/panel/panel_widgets.h"
#include "panel/values/panel_controls.h"
#include "panel/values/panel_list_texts.h"

namespace brindle {

namespace pc = panel_control;

QWidget* SettingsPanel::BuildBorderGroup() {
  QGridLayout* grid =
      SwitchGroup(border_group_, border_content_, border_placeholder_, "边框设置", pc::kBorder);

  border_location_ = Named(new QComboBox, pc::kBorderLocationList, "位置：");
  AddEntries(border_location_, kBorderLocationTexts);
  grid->addWidget(Caption("位置："), 0, 0);
  grid->addWidget(border_location_, 0, 1, Qt::AlignLeft);
  border_size_label_ = Caption("");
  border_size_ = Slider(pc::kBorderSize, kBorderSizeMin, kBorderSizeMax, "大小：");
  grid->addWidget(Caption("大小："), 1, 0);
  grid->addWidget(border_size_, 1, 1);
  grid->addWidget(border_size_label_, 1, 2);
  grid->addWidget(Caption("颜色："), 2, 0);
  grid->addWidget(MakeSwatch(pc::kBorderColour, "颜色："), 2, 1, Qt::AlignLeft);
  border_padding_label_ = Caption("");
  border_padding_ = Slider(pc::kBorderPadding, kBorderPaddingMin, kBorderPaddingMax, "填充：");
  grid->addWidget(Caption("填充："), 3, 0);
  grid->addWidget(border_padding_, 3, 1);
  grid->addWidget(border_padding_label_, 3, 2);
  slider_captions_[border_size_] = border_size_label_;
  slider_captions_[border_padding_] = border_padding_label_;
  return border_group_;
}

}  // namespace brindle
