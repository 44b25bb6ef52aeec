// "图片水印": the picture watermark's picture, position, opacity and tiling.

#include "app/panel/settings_panel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QToolButton>

#include "app/main/app_context.h"
#include "app/panel/history_box.h"
#include "app/panel/panel_widgets.h"
#include "panel/values/panel_controls.h"
#include "panel/values/panel_list_texts.h"
#include "prefs/auto_fill.h"

namespace brindle {

namespace pc = panel_control;

QWidget* SettingsPanel::BuildImageGroup() {
  QGridLayout* grid = SwitchGroup(image_group_, image_content_, image_placeholder_, "图片水印",
                                  pc::kImageWatermark);

  image_path_ = Named(new HistoryBox([this] { return OfferedPictures(context_.store); }),
                      pc::kImagePath, "图片：");
  image_path_->lineEdit()->setReadOnly(true);
  image_path_->setStyleSheet("QComboBox QLineEdit { background: white; }");
  auto* choose = Named(new QPushButton("选择"), pc::kImageChooseButton, "选择");
  choose->setFixedWidth(44);
  connect(choose, &QPushButton::clicked, this, &SettingsPanel::ChooseWatermarkPicture);
  auto* path_row = new QHBoxLayout;
  path_row->setSpacing(2);
  path_row->addWidget(image_path_, 1);
  path_row->addWidget(choose);
  grid->addWidget(Caption("图片："), 0, 0);
  grid->addLayout(path_row, 0, 1);

  grid->addWidget(Caption("位置："), 1, 0);
  grid->addLayout(PlacementRow(NumberBox::kImageHorizontalMargin, pc::kImageHorizontalList,
                               kHorizontalPlacementTexts, "左右边距", image_horizontal_,
                               image_horizontal_spin_),
                  1, 1);
  grid->addLayout(
      PlacementRow(NumberBox::kImageVerticalMargin, pc::kImageVerticalList, kVerticalPlacementTexts,
                   "上下边距", image_vertical_, image_vertical_spin_),
      2, 1);

  auto* rotation_row = new QHBoxLayout;
  rotation_row->setSpacing(2);
  rotation_row->addWidget(MakeNumberBox(NumberBox::kImageRotation, 3, "旋转角度："));
  auto* presets = Named(new QToolButton, pc::kImageRotationPresets, "选择常用旋转角度");
  presets->setArrowType(Qt::DownArrow);
  presets->setToolTip("选择常用旋转角度");
  connect(presets, &QToolButton::clicked, this,
          [this, presets] { ShowRotationMenu(NumberBox::kImageRotation, presets); });
  rotation_row->addWidget(presets);
  rotation_row->addWidget(Caption("不透明："));
  image_opacity_ = Slider(pc::kImageOpacity, kOpacityMin, kOpacityMax, "不透明：");
  rotation_row->addWidget(image_opacity_, 1);
  grid->addWidget(Caption("旋转角度："), 3, 0);
  grid->addLayout(rotation_row, 3, 1);

  image_tiled_ = Named(new QCheckBox("平铺"), pc::kImageTiled, "平铺");
  image_spacing_caption_ = Caption("间距：");
  image_spacing_label_ = Caption("");
  image_spacing_ = Slider(pc::kImageTiledSpacing, kTiledSpacingMin, kTiledSpacingMax, "间距：");
  auto* tiled_row = new QHBoxLayout;
  tiled_row->addWidget(image_tiled_);
  tiled_row->addWidget(image_spacing_caption_);
  tiled_row->addWidget(image_spacing_, 1);
  tiled_row->addWidget(image_spacing_label_);
  grid->addLayout(tiled_row, 4, 0, 1, 2);
  slider_captions_[image_spacing_] = image_spacing_label_;
  return image_group_;
}

}  // namespace brindle
