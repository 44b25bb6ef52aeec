// "基本设置": resizing and quality.

#include "app/panel/settings_panel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSlider>
#include <QToolButton>

#include "app/dialogs/dialogs.h"
#include "app/panel/panel_widgets.h"
#include "panel/rules/panel_states.h"
#include "panel/rules/resize_resample.h"
#include "panel/values/panel_choices.h"
#include "panel/values/panel_controls.h"
#include "panel/values/panel_labels.h"
#include "panel/values/panel_list_texts.h"

namespace brindle {

namespace pc = panel_control;

QWidget* SettingsPanel::BuildBasicGroup() {
  auto* group = new QGroupBox("基本设置");
  auto* grid = new QGridLayout(group);
  grid->setContentsMargins(6, 6, 6, 6);
  grid->setHorizontalSpacing(3);

  resize_ = Named(new QCheckBox, pc::kResize, "图片缩放");
  zoom_type_ = Named(new QComboBox, pc::kZoomTypeList, "图片缩放");
  AddEntries(zoom_type_, kZoomTypeTexts);
  size_type_ = Named(new QComboBox, pc::kSizeTypeList, "尺寸");
  AddEntries(size_type_, kSizeTypeTexts);
  auto* row1 = new QHBoxLayout;
  row1->addWidget(resize_);
  row1->addWidget(zoom_type_);
  row1->addWidget(size_type_, 1);
  grid->addLayout(row1, 0, 0);

  QLineEdit* size =
      MakeNumberBox(NumberBox::kSize, SizeBoxMaxLength(ZoomUnit::kPercent), "图片宽：");
  unit_ = Named(new QToolButton, pc::kUnitLabel, "单位");
  unit_->setPopupMode(QToolButton::InstantPopup);
  unit_->setToolButtonStyle(Qt::ToolButtonTextOnly);
  auto* unit_menu = new QMenu(unit_);
  for (ZoomUnit unit : {ZoomUnit::kPixel, ZoomUnit::kPercent}) {
    QAction* act = unit_menu->addAction(Q(UnitLabel(unit)));
    act->setCheckable(true);
    connect(act, &QAction::triggered, this, [this, unit] {
      SetZoomUnit(values_, unit);
      Changed(PanelChange::kResizeSwitch);
    });
  }
  connect(unit_menu, &QMenu::aboutToShow, this, [this, unit_menu] {
    const QList<QAction*> actions = unit_menu->actions();
    actions[0]->setChecked(values_.zoom_unit == ZoomUnit::kPixel);
    actions[1]->setChecked(values_.zoom_unit == ZoomUnit::kPercent);
  });
  unit_->setMenu(unit_menu);
  keep_aspect_ = Named(new QCheckBox, pc::kKeepAspect, "");
  auto* row2 = new QHBoxLayout;
  row2->setSpacing(2);
  row2->addWidget(size);
  row2->addWidget(unit_);
  row2->addWidget(keep_aspect_, 1);
  grid->addLayout(row2, 1, 0);

  quality_ = Named(new QCheckBox("图片质量："), pc::kQuality, "图片质量：");
  quality_row_ = new QWidget;
  auto* quality_layout = new QHBoxLayout(quality_row_);
  quality_layout->setContentsMargins(0, 0, 0, 0);
  quality_label_ = Caption("");
  quality_label_->setMinimumWidth(QFontMetrics(font()).horizontalAdvance("100(高)") + 2);
  quality_slider_ = Slider(pc::kQualitySlider, kQualityMin, kQualityMax, "图片质量：");
  quality_layout->addWidget(quality_slider_, 1);
  quality_layout->addWidget(quality_label_);
  file_size_row_ = new QWidget;
  auto* file_size_layout = new QHBoxLayout(file_size_row_);
  file_size_layout->setContentsMargins(0, 0, 0, 0);
  file_size_layout->addWidget(Caption("≤"));
  file_size_layout->addWidget(MakeNumberBox(NumberBox::kMaxFileSize, 5, "图片质量：≤"));
  file_size_layout->addWidget(Caption("KB"));
  file_size_help_ = Named(new QPushButton("?"), pc::kMaxFileSizeHelp, "?");
  file_size_help_->setFixedWidth(22);
  connect(file_size_help_, &QPushButton::clicked, this, [this] {
    dialogs_.Tell(this, "注意", Q(kMaxFileSizeHelpText), MessageIcon::kInformation);
  });
  file_size_layout->addWidget(file_size_help_);
  file_size_layout->addStretch(1);
  quality_mode_ = Named(new QToolButton, pc::kQualityModeButton, "图片质量设置方式");
  quality_mode_->setArrowType(Qt::DownArrow);
  quality_mode_->setPopupMode(QToolButton::InstantPopup);
  auto* mode_menu = new QMenu(quality_mode_);
  for (QualityMode mode : {QualityMode::kFixedQuality, QualityMode::kMaxFileSize}) {
    QAction* act = mode_menu->addAction(Q(kQualityModeTexts[static_cast<std::size_t>(mode)]));
    act->setCheckable(true);
    connect(act, &QAction::triggered, this, [this, mode] {
      values_.quality_mode = mode;
      Changed(PanelChange::kAlways);
    });
  }
  connect(mode_menu, &QMenu::aboutToShow, this, [this, mode_menu] {
    const QList<QAction*> actions = mode_menu->actions();
    actions[0]->setChecked(values_.quality_mode == QualityMode::kFixedQuality);
    actions[1]->setChecked(values_.quality_mode == QualityMode::kMaxFileSize);
  });
  quality_mode_->setMenu(mode_menu);
  auto* row3 = new QHBoxLayout;
  row3->addWidget(quality_);
  row3->addWidget(quality_row_, 1);
  row3->addWidget(file_size_row_, 1);
  row3->addWidget(quality_mode_);
  grid->addLayout(row3, 2, 0);

  connect(resize_, &QCheckBox::toggled, this, [this](bool on) {
    if (showing_) return;
    std::optional<Refusal> refused;
    if (on) {
      refused = TickResize(values_);
    } else {
      values_.resize = false;
    }
    Changed(PanelChange::kResizeSwitch);
    if (refused) ShowRefusal(*refused);
  });
  connect(zoom_type_, &QComboBox::activated, this, [this](int index) {
    values_.zoom_type = index;
    RefreshKeepAspect(values_);
    Changed(PanelChange::kZoomType);
  });
  connect(size_type_, &QComboBox::activated, this, [this](int index) {
    std::optional<Refusal> tip = ChooseSizeType(values_, index);
    Changed(PanelChange::kSizeType);
    if (tip) ShowRefusal(*tip);
    QLineEdit* size_box = boxes_[NumberBox::kSize];
    size_box->setFocus(Qt::OtherFocusReason);
    size_box->setCursorPosition(static_cast<int>(size_box->text().size()));
  });
  slider_captions_[quality_slider_] = quality_label_;
  return group;
}

}  // namespace brindle
