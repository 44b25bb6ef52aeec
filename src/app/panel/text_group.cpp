// "文字水印": the text watermark's text, face, style, colours, position and tiling.

#include "app/panel/settings_panel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFont>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QSlider>
#include <QToolButton>

#include "app/main/app_context.h"
#include "app/panel/history_box.h"
#include "app/panel/panel_widgets.h"
#include "panel/values/panel_choices.h"
#include "panel/values/panel_controls.h"
#include "panel/values/panel_list_texts.h"
#include "prefs/auto_fill.h"

namespace brindle {

namespace pc = panel_control;

QWidget* SettingsPanel::BuildTextGroup() {
  QGridLayout* grid =
      SwitchGroup(text_group_, text_content_, text_placeholder_, "文字水印", pc::kTextWatermark);

  text_ =
      Named(new HistoryBox([this] { return OfferedTexts(context_.store); }), pc::kText, "文字：");
  text_->lineEdit()->setMaxLength(127);
  text_->lineEdit()->installEventFilter(this);
  grid->addWidget(Caption("文字："), 0, 0);
  grid->addWidget(text_, 0, 1, 1, 3);

  font_ = Named(new QComboBox, pc::kFontBox, "字体：");
  FillFontBox();
  font_->setMaxVisibleItems(20);
  font_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  font_->setMinimumContentsLength(8);
  grid->addWidget(Caption("字体："), 1, 0);
  grid->addWidget(font_, 1, 1, 1, 3);

  font_size_ = Named(new QComboBox, pc::kFontSizeList, "字体大小");
  font_size_->setEditable(true);
  font_size_->setInsertPolicy(QComboBox::NoInsert);
  for (int size : kFontSizeChoices) font_size_->addItem(QString::number(size));
  font_size_->lineEdit()->setMaxLength(3);
  font_size_->lineEdit()->setValidator(
      new QRegularExpressionValidator(QRegularExpression("[0-9]*"), font_size_));
  font_size_->lineEdit()->installEventFilter(this);
  font_size_->setFixedWidth(52);
  auto* style_row = new QHBoxLayout;
  style_row->setSpacing(2);
  style_row->addWidget(font_size_);
  style_row->addWidget(Caption("颜色："));
  style_row->addWidget(MakeSwatch(pc::kTextColour, "颜色："));
  auto style_button = [&](std::string_view name, const char* text, const char* tip, auto&& style) {
    auto* button = Named(new QToolButton, name, Q(tip));
    button->setText(Q(text));
    button->setToolTip(Q(tip));
    button->setCheckable(true);
    button->setFixedSize(20, 20);
    QFont face = button->font();
    style(face);
    button->setFont(face);
    style_row->addWidget(button);
    return button;
  };
  bold_ = style_button(pc::kBold, "B", "粗体", [](QFont& f) { f.setBold(true); });
  italic_ = style_button(pc::kItalic, "I", "斜体", [](QFont& f) { f.setItalic(true); });
  underline_ = style_button(pc::kUnderline, "T", "下划线", [](QFont& f) { f.setUnderline(true); });
  line_through_ =
      style_button(pc::kLineThrough, "T", "删除线", [](QFont& f) { f.setStrikeOut(true); });
  style_row->addStretch(1);
  grid->addLayout(style_row, 2, 0, 1, 4);

  grid->addWidget(Caption("位置："), 3, 0);
  grid->addLayout(
      PlacementRow(NumberBox::kTextHorizontalMargin, pc::kTextHorizontalList,
                   kHorizontalPlacementTexts, "左右边距", text_horizontal_, text_horizontal_spin_),
      3, 1, 1, 3);
  grid->addLayout(
      PlacementRow(NumberBox::kTextVerticalMargin, pc::kTextVerticalList, kVerticalPlacementTexts,
                   "上下边距", text_vertical_, text_vertical_spin_),
      4, 1, 1, 3);

  auto* background_row = new QHBoxLayout;
  background_row->addWidget(MakeSwatch(pc::kBackgroundColour, "背景："));
  auto* clear = Named(new QPushButton("清除背景色"), pc::kClearBackground, "清除背景色");
  connect(clear, &QPushButton::clicked, this, [this] {
    values_.background_colour = -1;
    Changed(PanelChange::kTextWatermark);
  });
  background_row->addWidget(clear);
  background_row->addStretch(1);
  grid->addWidget(Caption("背景："), 5, 0);
  grid->addLayout(background_row, 5, 1, 1, 3);

  text_border_size_ = Named(new QComboBox, pc::kTextBorderSizeList, "边框：");
  for (int i = 0; i <= 9; ++i) text_border_size_->addItem(QString::number(i));
  auto* border_row = new QHBoxLayout;
  border_row->addWidget(MakeSwatch(pc::kTextBorderColour, "边框颜色："));
  border_row->addWidget(Caption("边框："));
  border_row->addWidget(text_border_size_);
  border_row->addStretch(1);
  grid->addWidget(Caption("边框颜色："), 6, 0);
  grid->addLayout(border_row, 6, 1, 1, 3);

  corner_radius_ = Named(new QComboBox, pc::kCornerRadiusList, "角的半径：");
  for (int radius = 0; radius <= 90; radius += 5) corner_radius_->addItem(QString::number(radius));
  auto* radius_row = new QHBoxLayout;
  radius_row->addWidget(corner_radius_);
  radius_row->addStretch(1);
  grid->addWidget(Caption("角的半径："), 7, 0);
  grid->addLayout(radius_row, 7, 1, 1, 3);

  auto* padding_row = new QHBoxLayout;
  padding_row->addWidget(MakeNumberBox(NumberBox::kPaddingLeftRight, 2, "左右填充："));
  padding_row->addWidget(Caption("上下填充："));
  padding_row->addWidget(MakeNumberBox(NumberBox::kPaddingTopBottom, 2, "上下填充："));
  padding_row->addStretch(1);
  grid->addWidget(Caption("左右填充："), 8, 0);
  grid->addLayout(padding_row, 8, 1, 1, 3);

  auto* rotation_row = new QHBoxLayout;
  rotation_row->setSpacing(2);
  rotation_row->addWidget(MakeNumberBox(NumberBox::kTextRotation, 3, "旋转角度："));
  auto* presets = Named(new QToolButton, pc::kTextRotationPresets, "选择常用旋转角度");
  presets->setArrowType(Qt::DownArrow);
  presets->setToolTip("选择常用旋转角度");
  connect(presets, &QToolButton::clicked, this,
          [this, presets] { ShowRotationMenu(NumberBox::kTextRotation, presets); });
  rotation_row->addWidget(presets);
  rotation_row->addWidget(Caption("不透明："));
  text_opacity_ = Slider(pc::kTextOpacity, kOpacityMin, kOpacityMax, "不透明：");
  rotation_row->addWidget(text_opacity_, 1);
  grid->addWidget(Caption("旋转角度："), 9, 0);
  grid->addLayout(rotation_row, 9, 1, 1, 3);

  text_size_scale_ = Named(new QCheckBox("文字大小按比例"), pc::kTextSizeScale, "文字大小按比例");
  text_size_scale_->setToolTip(
      "文字大小按比例缩放\n勾选此项后，文字的大小与处理的图片尺寸以及设置的比例有关。");
  auto* scale_row = new QHBoxLayout;
  scale_row->setSpacing(2);
  scale_row->addWidget(text_size_scale_);
  scale_row->addWidget(MakeNumberBox(NumberBox::kTextSizeScale, 2, "文字大小按比例"));
  text_size_scale_spin_ = MakeSpinner(NumberBox::kTextSizeScale, 1, 99);
  scale_row->addWidget(text_size_scale_spin_);
  scale_row->addWidget(Caption("%"));
  text_size_scale_type_ = Named(new QComboBox, pc::kTextSizeScaleTypeList, "文字大小按比例");
  AddEntries(text_size_scale_type_, kScaleTypeTexts);
  scale_row->addWidget(text_size_scale_type_);
  scale_row->addStretch(1);
  grid->addLayout(scale_row, 10, 0, 1, 4);

  text_tiled_ = Named(new QCheckBox("平铺"), pc::kTextTiled, "平铺");
  text_spacing_caption_ = Caption("间距：");
  text_spacing_label_ = Caption("");
  text_spacing_ = Slider(pc::kTextTiledSpacing, kTiledSpacingMin, kTiledSpacingMax, "间距：");
  auto* tiled_row = new QHBoxLayout;
  tiled_row->addWidget(text_tiled_);
  tiled_row->addWidget(text_spacing_caption_);
  tiled_row->addWidget(text_spacing_, 1);
  tiled_row->addWidget(text_spacing_label_);
  grid->addLayout(tiled_row, 11, 0, 1, 4);
  slider_captions_[text_spacing_] = text_spacing_label_;

  connect(font_, &QComboBox::activated, this, [this](int index) {
    const std::string face = font_->itemText(index).toStdString();
    if (face == values_.font_name) return;
    ChooseFont(values_, face);
    Changed(PanelChange::kTextWatermark);
  });
  connect(underline_, &QToolButton::toggled, this, [this](bool on) {
    if (showing_) return;
    SetUnderline(values_, on);
    Changed(PanelChange::kTextWatermark);
  });
  connect(line_through_, &QToolButton::toggled, this, [this](bool on) {
    if (showing_) return;
    SetLineThrough(values_, on);
    Changed(PanelChange::kTextWatermark);
  });
  return text_group_;
}

}  // namespace brindle
