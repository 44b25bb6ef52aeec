#include "app/panel/settings_panel.h"

#include <QAbstractItemView>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFileInfo>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QScreen>
#include <QScrollBar>
#include <QSlider>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <functional>

#include "app/dialogs/balloon_hints.h"
#include "app/dialogs/dialogs.h"
#include "app/main/app_context.h"
#include "engine/read/supported_picture.h"
#include "panel/rules/panel_states.h"
#include "panel/rules/panel_validation.h"
#include "panel/rules/resize_resample.h"
#include "panel/values/panel_choices.h"
#include "panel/values/panel_controls.h"
#include "panel/values/panel_labels.h"
#include "panel/values/panel_list_texts.h"
#include "panel/values/panel_load.h"
#include "panel/values/panel_text.h"
#include "prefs/auto_fill.h"
#include "tools/common/output_options.h"
#include "window_rules/panel/number_box_step.h"
#include "window_rules/panel/save_mode.h"
#include "window_rules/preview/effect_preview_rules.h"

namespace brindle {

// A drop-down list whose entries are made each time it opens (the remembered texts and
// pictures); the current text stays, at the top when it is not among them.
class HistoryBox : public QComboBox {
 public:
  HistoryBox(std::function<std::vector<std::string>()> entries, QWidget* parent = nullptr)
      : QComboBox(parent), entries_(std::move(entries)) {
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
  }

  void showPopup() override {
    const QString current = currentText();
    {
      const QSignalBlocker block(this);
      clear();
      for (const std::string& entry : entries_()) addItem(QString::fromStdString(entry));
      if (!current.isEmpty() && findText(current, Qt::MatchFixedString) < 0) insertItem(0, current);
      setCurrentIndex(findText(current, Qt::MatchFixedString));
      setEditText(current);
    }
    int widest = width();
    const QFontMetrics metrics(view()->font());
    for (int i = 0; i < count(); ++i)
      widest = std::max(widest, metrics.horizontalAdvance(itemText(i)) + 6);
    view()->setMinimumWidth(widest);
    QComboBox::showPopup();
  }

 private:
  std::function<std::vector<std::string>()> entries_;
};

namespace {

namespace pc = panel_control;
namespace fs = std::filesystem;

QString Q(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<int>(text.size()));
}

template <typename W>
W* Named(W* widget, std::string_view name, const QString& accessible_name) {
  widget->setObjectName(Q(name));
  widget->setAccessibleName(accessible_name);
  return widget;
}

QLabel* Caption(const QString& text) {
  auto* label = new QLabel(text);
  label->setTextFormat(Qt::PlainText);
  return label;
}

template <std::size_t N>
void AddEntries(QComboBox* box, const std::array<const char*, N>& texts) {
  for (const char* text : texts) box->addItem(Q(text));
}

QColor ColourOf(std::int64_t bgr) {
  return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                static_cast<int>((bgr >> 16) & 0xFF));
}

std::int32_t BgrOf(const QColor& colour) {
  return colour.red() | (colour.green() << 8) | (colour.blue() << 16);
}

// A swatch's face: the colour as a solid 40 × 17 picture, or white crossed out for no colour.
QIcon SwatchIcon(std::int64_t bgr) {
  QPixmap pixmap(40, 17);
  if (bgr < 0) {
    pixmap.fill(Qt::white);
    QPainter painter(&pixmap);
    painter.setPen(QPen(Qt::red, 1));
    painter.drawLine(0, 16, 39, 0);
  } else {
    pixmap.fill(ColourOf(bgr));
  }
  return QIcon(pixmap);
}

QSlider* Slider(std::string_view name, int low, int high, const QString& accessible_name) {
  auto* slider = Named(new QSlider(Qt::Horizontal), name, accessible_name);
  slider->setRange(low, high);
  return slider;
}

void SetText(QLineEdit* edit, const std::string& text) {
  const QString shown = QString::fromStdString(text);
  if (edit->text() != shown) edit->setText(shown);
}

void SetEditText(QComboBox* box, const std::string& text) {
  const QString shown = QString::fromStdString(text);
  if (box->currentText() != shown) box->setEditText(shown);
}

}  // namespace

SettingsPanel::SettingsPanel(AppContext& context, Dialogs& dialogs, BalloonHints& balloons,
                             QWidget* parent)
    : QScrollArea(parent),
      context_(context),
      dialogs_(dialogs),
      balloons_(balloons),
      font_names_(FontBoxOrder(context.fonts.face_names())) {
  setObjectName("settings_panel");
  setAccessibleName("图片处理设置");
  setWidgetResizable(true);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  verticalScrollBar()->setSingleStep(21);

  auto* column = new QWidget;
  auto* layout = new QVBoxLayout(column);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->setSpacing(6);
  for (QWidget* group : {BuildBasicGroup(), BuildTextGroup(), BuildImageGroup(), BuildBorderGroup(),
                         BuildOtherGroup(), BuildSaveGroup()}) {
    group->setFixedWidth(239);
    layout->addWidget(group);
  }
  auto* start = Named(new QPushButton("开始处理"), pc::kStartButton, "开始处理");
  start->setFixedSize(239, 24);
  connect(start, &QPushButton::clicked, this, &SettingsPanel::StartRequested);
  layout->addWidget(start);
  layout->addStretch(1);
  setWidget(column);

  // The wheel over any control scrolls the panel, as it does over the panel itself.
  for (QWidget* child : column->findChildren<QWidget*>()) {
    if (qobject_cast<QComboBox*>(child) || qobject_cast<QAbstractSlider*>(child)) {
      child->installEventFilter(this);
    }
  }

  // The save choice the save mode gives at start, and the remembered target folder.
  values_.remembered_save_folder = context_.preferences.save_to_path;
  SelectSaveMode(values_, SaveChoiceAtStart(ReadSaveModePreferences(context_.store)));
  LoadRecipe();
}

QLineEdit* SettingsPanel::MakeNumberBox(NumberBox box, int max_length,
                                        const QString& accessible_name) {
  auto* edit = Named(new QLineEdit, NumberBoxControl(box), accessible_name);
  edit->setMaxLength(max_length);
  const int width =
      QFontMetrics(edit->font()).horizontalAdvance(QString(std::min(max_length, 5), '0'));
  edit->setFixedWidth(width + 12);
  boxes_[box] = edit;
  box_of_[edit] = box;
  edit->installEventFilter(this);
  connect(edit, &QLineEdit::textEdited, this, [this, box, edit] { OnNumberBoxEdited(box, edit); });
  return edit;
}

QAbstractSlider* SettingsPanel::MakeSpinner(NumberBox box, int top, int bottom) {
  // The up arrow lowers the value, as the Up key does in the box.
  auto* spinner = new QScrollBar(Qt::Vertical);
  spinner->setRange(top, bottom);
  spinner->setFixedSize(16, 22);
  spinner->setAccessibleName(boxes_[box]->accessibleName());
  connect(spinner, &QAbstractSlider::valueChanged, this, [this, box](int value) {
    if (showing_) return;
    NumberBoxText(values_, box) = std::to_string(value);
    if (editing_ && editing_->box() == box) editing_->TakeFocusText(NumberBoxText(values_, box));
    const bool text_box = box == NumberBox::kTextHorizontalMargin ||
                          box == NumberBox::kTextVerticalMargin || box == NumberBox::kTextSizeScale;
    Changed(text_box ? PanelChange::kTextWatermark : PanelChange::kImageWatermark);
  });
  return spinner;
}

QPushButton* SettingsPanel::MakeSwatch(std::string_view name, const QString& accessible_name) {
  auto* swatch = Named(new QPushButton, name, accessible_name);
  swatch->setFixedSize(44, 21);
  swatch->setIconSize(QSize(40, 17));
  swatch->setFlat(true);
  const std::string key(name);
  connect(swatch, &QPushButton::clicked, this, [this, key] { ChooseColour(key); });
  return swatch;
}

QGridLayout* SettingsPanel::SwitchGroup(QGroupBox*& group, QWidget*& content, QLabel*& placeholder,
                                        const char* title, std::string_view name) {
  group = Named(new QGroupBox(Q(title)), name, Q(title));
  group->setCheckable(true);
  auto* outer = new QVBoxLayout(group);
  outer->setContentsMargins(6, 6, 6, 6);
  placeholder = Caption(". . .");
  placeholder->setAlignment(Qt::AlignCenter);
  outer->addWidget(placeholder);
  content = new QWidget;
  outer->addWidget(content);
  auto* grid = new QGridLayout(content);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->setHorizontalSpacing(3);
  grid->setVerticalSpacing(4);
  return grid;
}

QLayout* SettingsPanel::PlacementRow(NumberBox box, std::string_view list_name,
                                     const std::array<const char*, 3>& texts,
                                     const QString& box_name, QComboBox*& list,
                                     QAbstractSlider*& spinner) {
  list = Named(new QComboBox, list_name, "位置：");
  AddEntries(list, texts);
  auto* line = new QHBoxLayout;
  line->setSpacing(2);
  line->addWidget(list);
  line->addWidget(MakeNumberBox(box, 3, box_name));
  spinner = MakeSpinner(box, 0, 999);
  line->addWidget(spinner);
  line->addStretch(1);
  const bool text =
      box == NumberBox::kTextHorizontalMargin || box == NumberBox::kTextVerticalMargin;
  const bool horizontal =
      box == NumberBox::kTextHorizontalMargin || box == NumberBox::kImageHorizontalMargin;
  connect(list, &QComboBox::activated, this, [this, box, text, horizontal](int index) {
    PanelPlacement& place = text ? values_.text_placement : values_.image_placement;
    (horizontal ? place.horizontal : place.vertical) = index;
    Changed(text ? PanelChange::kTextWatermark : PanelChange::kImageWatermark);
    // Off the middle, the distance is what the user sets next.
    if (index > 0) {
      QLineEdit* edit = boxes_[box];
      edit->setFocus(Qt::OtherFocusReason);
      edit->setCursorPosition(static_cast<int>(edit->text().size()));
    }
  });
  return line;
}

template <typename Switch>
void SettingsPanel::BindSwitch(Switch* button, std::function<bool&(PanelValues&)> field,
                               std::optional<PanelChange> change) {
  connect(button, &Switch::toggled, this, [this, field, change](bool on) {
    if (showing_) return;
    field(values_) = on;
    Changed(change);
  });
}

void SettingsPanel::BindSlider(QSlider* slider, std::function<int&(PanelValues&)> field,
                               QLabel* label, std::string (*label_text)(int), PanelChange change) {
  // The label follows the thumb; the value counts when the thumb is let go.
  connect(slider, &QSlider::valueChanged, this, [=, this](int value) {
    if (label) label->setText(Q(label_text(value)));
    if (showing_) return;
    field(values_) = value;
    if (!slider->isSliderDown()) Changed(change);
  });
  connect(slider, &QSlider::sliderReleased, this, [this, change] { Changed(change); });
}

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
  BindSwitch(
      keep_aspect_, [](PanelValues& v) -> bool& { return v.keep_aspect; },
      PanelChange::kResizeSwitch);
  BindSwitch(
      quality_, [](PanelValues& v) -> bool& { return v.quality; }, PanelChange::kAlways);
  BindSlider(
      quality_slider_, [](PanelValues& v) -> int& { return v.quality_position; }, quality_label_,
      &QualityLabel, PanelChange::kAlways);
  return group;
}

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

  BindSwitch(
      text_group_, [](PanelValues& v) -> bool& { return v.text_watermark; },
      PanelChange::kTextWatermark);
  connect(text_, &QComboBox::editTextChanged, this, [this](const QString& text) {
    if (!showing_) values_.text = text.toStdString();
  });
  connect(text_, &QComboBox::activated, this, [this](int index) {
    values_.text = text_->itemText(index).toStdString();
    Changed(PanelChange::kTextWatermark);
  });
  connect(font_, &QComboBox::activated, this, [this](int index) {
    const std::string face = font_->itemText(index).toStdString();
    if (face == values_.font_name) return;
    ChooseFont(values_, face);
    Changed(PanelChange::kTextWatermark);
  });
  connect(font_size_, &QComboBox::editTextChanged, this, [this](const QString& text) {
    if (!showing_) values_.font_size_text = text.toStdString();
  });
  connect(font_size_, &QComboBox::activated, this, [this](int index) {
    values_.font_size_text = font_size_->itemText(index).toStdString();
    Changed(PanelChange::kTextWatermark);
  });
  BindSwitch(
      bold_, [](PanelValues& v) -> bool& { return v.bold; }, PanelChange::kTextWatermark);
  BindSwitch(
      italic_, [](PanelValues& v) -> bool& { return v.italic; }, PanelChange::kTextWatermark);
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
  connect(text_border_size_, &QComboBox::activated, this, [this](int index) {
    values_.text_border_size_text = std::to_string(index);
    Changed(PanelChange::kTextWatermark);
  });
  connect(corner_radius_, &QComboBox::activated, this, [this](int index) {
    values_.corner_radius_text = std::to_string(index * 5);
    Changed(PanelChange::kTextWatermark);
  });
  BindSlider(
      text_opacity_, [](PanelValues& v) -> int& { return v.text_opacity; }, nullptr, nullptr,
      PanelChange::kTextSlider);
  BindSwitch(
      text_size_scale_, [](PanelValues& v) -> bool& { return v.text_size_scale; },
      PanelChange::kTextWatermark);
  connect(text_size_scale_type_, &QComboBox::activated, this, [this](int index) {
    values_.text_size_scale_type = index;
    Changed(PanelChange::kTextSizeScaleType);
  });
  BindSwitch(
      text_tiled_, [](PanelValues& v) -> bool& { return v.text_tiled; },
      PanelChange::kTextWatermark);
  BindSlider(
      text_spacing_, [](PanelValues& v) -> int& { return v.text_tiled_spacing; },
      text_spacing_label_, &ValueLabel, PanelChange::kTextSlider);
  return text_group_;
}

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

  BindSwitch(
      image_group_, [](PanelValues& v) -> bool& { return v.image_watermark; },
      PanelChange::kImageWatermark);
  connect(image_path_, &QComboBox::activated, this, [this](int index) {
    values_.image_path = image_path_->itemText(index).toStdString();
    Changed(PanelChange::kImageWatermark);
  });
  BindSlider(
      image_opacity_, [](PanelValues& v) -> int& { return v.image_opacity; }, nullptr, nullptr,
      PanelChange::kImageWatermark);
  BindSwitch(
      image_tiled_, [](PanelValues& v) -> bool& { return v.image_tiled; },
      PanelChange::kImageWatermark);
  BindSlider(
      image_spacing_, [](PanelValues& v) -> int& { return v.image_tiled_spacing; },
      image_spacing_label_, &ValueLabel, PanelChange::kImageWatermark);
  return image_group_;
}

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

  BindSwitch(
      border_group_, [](PanelValues& v) -> bool& { return v.border; }, PanelChange::kAlways);
  connect(border_location_, &QComboBox::activated, this, [this](int index) {
    values_.border_location = index;
    Changed(PanelChange::kAlways);
  });
  BindSlider(
      border_size_, [](PanelValues& v) -> int& { return v.border_size; }, border_size_label_,
      &ValueLabel, PanelChange::kAlways);
  BindSlider(
      border_padding_, [](PanelValues& v) -> int& { return v.border_padding; },
      border_padding_label_, &ValueLabel, PanelChange::kAlways);
  return border_group_;
}

QWidget* SettingsPanel::BuildOtherGroup() {
  auto* group = new QGroupBox("其他设置");
  auto* grid = new QGridLayout(group);
  grid->setContentsMargins(6, 6, 6, 6);
  grid->setHorizontalSpacing(3);
  int row = 0;
  auto tone = [&](ToneRow& tone_row, const char* text, std::string_view check_name,
                  std::string_view slider_name, PanelTone PanelValues::*field) {
    tone_row.check = Named(new QCheckBox(Q(text)), check_name, Q(text));
    tone_row.label = Caption("");
    tone_row.label->setMinimumWidth(QFontMetrics(font()).horizontalAdvance("+100") + 2);
    tone_row.slider = Slider(slider_name, kToneMin, kToneMax, Q(text));
    grid->addWidget(tone_row.check, row, 0);
    grid->addWidget(tone_row.slider, row, 1);
    grid->addWidget(tone_row.label, row, 2);
    ++row;
    BindSwitch(
        tone_row.check, [field](PanelValues& v) -> bool& { return (v.*field).on; },
        PanelChange::kAlways);
    BindSlider(
        tone_row.slider, [field](PanelValues& v) -> int& { return (v.*field).value; },
        tone_row.label, &ToneLabel, PanelChange::kAlways);
  };
  tone(light_, "亮  度：", pc::kLight, pc::kLightSlider, &PanelValues::light);
  tone(contrast_, "对比度：", pc::kContrast, pc::kContrastSlider, &PanelValues::contrast);
  tone(clearly_, "清晰度：", pc::kClearly, pc::kClearlySlider, &PanelValues::clearly);
  tone(saturation_, "饱和度：", pc::kSaturation, pc::kSaturationSlider, &PanelValues::saturation);

  auto check = [&](std::string_view name, const char* text, bool PanelValues::*field) {
    auto* box = Named(new QCheckBox(Q(text)), name, Q(text));
    grid->addWidget(box, row++, 0, 1, 3);
    BindSwitch(
        box, [field](PanelValues& v) -> bool& { return v.*field; }, PanelChange::kAlways);
    return box;
  };
  black_and_white_ =
      check(pc::kBlackAndWhite, "将彩色图片转换成黑白图片", &PanelValues::black_and_white);
  remove_exif_ =
      check(pc::kRemoveExif, "去除Exif信息(拍照日期,相机型号等)", &PanelValues::remove_exif);

  colour_space_ = Named(new QCheckBox, pc::kColourSpace, "色彩空间转换");
  from_colour_space_ = Named(new QComboBox, pc::kFromColourSpaceList, "色彩空间转换");
  AddEntries(from_colour_space_, kFromColourSpaceTexts);
  to_colour_space_ = Named(new QComboBox, pc::kToColourSpaceList, "转");
  AddEntries(to_colour_space_, kToColourSpaceTexts);
  auto* colour_row = new QHBoxLayout;
  colour_row->addWidget(colour_space_);
  colour_row->addWidget(from_colour_space_);
  colour_row->addWidget(Caption("转"));
  colour_row->addWidget(to_colour_space_);
  colour_row->addStretch(1);
  grid->addLayout(colour_row, row++, 0, 1, 3);
  // Kept in the recipe, never shown.
  srgb_icc_ = Named(new QCheckBox("sRGB.icc"), pc::kSrgbIcc, "sRGB.icc");
  srgb_icc_->setToolTip("转换成sRGB颜色空间时，是否使用 sRGB.icc 配置文件");
  srgb_icc_->setVisible(false);
  BindSwitch(
      colour_space_, [](PanelValues& v) -> bool& { return v.colour_space; }, PanelChange::kAlways);
  connect(from_colour_space_, &QComboBox::activated, this, [this](int index) {
    values_.from_colour_space = index;
    Changed(PanelChange::kAlways);
  });
  connect(to_colour_space_, &QComboBox::activated, this, [this](int index) {
    values_.to_colour_space = index;
    Changed(PanelChange::kAlways);
  });

  dpi_ = Named(new QCheckBox("分辨率(DPI)："), pc::kDpi, "分辨率(DPI)：");
  resample_ = Named(new QCheckBox("重新采样"), pc::kResample, "重新采样");
  auto* dpi_row = new QHBoxLayout;
  dpi_row->addWidget(dpi_);
  dpi_row->addWidget(MakeNumberBox(NumberBox::kDpi, 5, "分辨率(DPI)："));
  dpi_row->addWidget(resample_);
  dpi_row->addStretch(1);
  grid->addLayout(dpi_row, row++, 0, 1, 3);
  boxes_[NumberBox::kDpi]->setValidator(
      new QRegularExpressionValidator(QRegularExpression("[0-9]*"), boxes_[NumberBox::kDpi]));
  connect(dpi_, &QCheckBox::toggled, this, [this](bool on) {
    if (showing_) return;
    std::optional<Refusal> refused;
    if (on) {
      refused = TickDpi(values_);
    } else {
      values_.dpi = false;
    }
    Changed(PanelChange::kAlways);
    if (refused) ShowRefusal(*refused);
    if (on) {
      boxes_[NumberBox::kDpi]->setFocus(Qt::OtherFocusReason);
      boxes_[NumberBox::kDpi]->selectAll();
    }
  });
  connect(resample_, &QCheckBox::toggled, this, [this](bool on) {
    if (showing_) return;
    std::optional<Refusal> refused;
    if (on) {
      refused = TickResample(values_);
    } else {
      values_.resample = false;
    }
    Changed(PanelChange::kResample);
    if (refused) ShowRefusal(*refused);
  });
  return group;
}

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
  connect(output_format_, &QComboBox::activated, this, [this](int index) {
    values_.output_format = index;
    Changed(PanelChange::kAlways);
  });

  connect(save_to_folder_, &QRadioButton::clicked, this, [this] {
    SelectSaveMode(values_, PlacementMode::kSaveToFolder);
    Changed(std::nullopt);
  });
  connect(overwrite_, &QRadioButton::clicked, this, &SettingsPanel::SelectOverwrite);
  connect(save_folder_button_, &QPushButton::clicked, this,
          &SettingsPanel::ChooseSaveFolderWithChooser);
  BindSwitch(
      keep_structure_, [](PanelValues& v) -> bool& { return v.keep_structure; }, std::nullopt);
  return group;
}

void SettingsPanel::SetValues(const PanelValues& values) {
  values_ = values;
  // A box being edited takes the new text as its accepted one.
  if (editing_) editing_.emplace(editing_->box(), NumberBoxText(values_, editing_->box()));
  ShowValues();
}

void SettingsPanel::LoadRecipe() {
  LoadPanelValues(context_.recipe, font_names_, values_);
  SetValues(values_);
}

bool SettingsPanel::LoadRecipeFile(const fs::path& path) {
  if (!ApplyOptionsToPanel(path, context_.folders.RecipeFolder(), font_names_, context_.recipe,
                           values_)) {
    return false;
  }
  SetValues(values_);
  return true;
}

void SettingsPanel::OfferFont(const std::string& face_name) {
  font_names_.insert(font_names_.begin(), face_name);
  font_->insertItem(0, Q(face_name));
}

void SettingsPanel::WithdrawFont(const std::string& face_name) {
  const bool chosen_again = RemoveFromFontBox(values_, font_names_, context_.fonts, face_name);
  FillFontBox();
  if (chosen_again) {
    Changed(PanelChange::kTextWatermark);
  } else {
    ShowValues();
  }
}

void SettingsPanel::FillFontBox() {
  font_->clear();
  for (const std::string& name : font_names_) font_->addItem(Q(name));
}

void SettingsPanel::ShowValues() {
  showing_ = true;
  const PanelValues& v = values_;
  // "基本设置"
  resize_->setChecked(v.resize);
  zoom_type_->setCurrentIndex(v.zoom_type);
  size_type_->setCurrentIndex(v.size_type);
  unit_->setText(Q(UnitLabel(v.zoom_unit)));
  boxes_[NumberBox::kSize]->setMaxLength(SizeBoxMaxLength(v.zoom_unit));
  keep_aspect_->setText(Q(KeepAspectText(v)));
  keep_aspect_->setAccessibleName(keep_aspect_->text());
  keep_aspect_->setChecked(v.keep_aspect);
  boxes_[NumberBox::kSize]->setAccessibleName(size_type_->currentText());
  quality_->setChecked(v.quality);
  quality_slider_->setValue(v.quality_position);
  quality_label_->setText(Q(QualityLabel(v.quality_position)));

  // "文字水印"
  text_group_->setChecked(v.text_watermark);
  SetEditText(text_, v.text);
  const int font_index =
      font_->findText(QString::fromStdString(v.font_box_text), Qt::MatchFixedString);
  if (font_index >= 0) {
    font_->setCurrentIndex(font_index);
  } else {
    // A face the font box does not offer is still shown as the recipe names it.
    font_->setCurrentIndex(-1);
    font_->setPlaceholderText(QString::fromStdString(v.font_box_text));
  }
  font_->setToolTip(QString::fromStdString(v.font_summary));
  SetEditText(font_size_, v.font_size_text);
  bold_->setChecked(v.bold);
  italic_->setChecked(v.italic);
  underline_->setChecked(v.underline);
  line_through_->setChecked(v.line_through);
  const StyleButtons styles = ShownStyleButtons(context_.fonts, v.font_name);
  bold_->setVisible(styles.bold);
  italic_->setVisible(styles.italic);
  text_horizontal_->setCurrentIndex(v.text_placement.horizontal);
  text_vertical_->setCurrentIndex(v.text_placement.vertical);
  text_border_size_->setCurrentIndex(std::clamp(IntegerValue(v.text_border_size_text), 0, 9));
  corner_radius_->setCurrentIndex(std::clamp(IntegerValue(v.corner_radius_text) / 5, 0, 18));
  text_opacity_->setValue(v.text_opacity);
  text_size_scale_->setChecked(v.text_size_scale);
  text_size_scale_type_->setCurrentIndex(v.text_size_scale_type);
  text_tiled_->setChecked(v.text_tiled);
  text_spacing_->setValue(v.text_tiled_spacing);
  text_spacing_label_->setText(Q(ValueLabel(v.text_tiled_spacing)));

  // "图片水印"
  image_group_->setChecked(v.image_watermark);
  SetEditText(image_path_, v.image_path);
  image_horizontal_->setCurrentIndex(v.image_placement.horizontal);
  image_vertical_->setCurrentIndex(v.image_placement.vertical);
  image_opacity_->setValue(v.image_opacity);
  image_tiled_->setChecked(v.image_tiled);
  image_spacing_->setValue(v.image_tiled_spacing);
  image_spacing_label_->setText(Q(ValueLabel(v.image_tiled_spacing)));

  // "边框设置"
  border_group_->setChecked(v.border);
  border_location_->setCurrentIndex(v.border_location);
  border_size_->setValue(v.border_size);
  border_size_label_->setText(Q(ValueLabel(v.border_size)));
  border_padding_->setValue(v.border_padding);
  border_padding_label_->setText(Q(ValueLabel(v.border_padding)));
  for (const auto& [name, colour] :
       {std::pair{pc::kTextColour, static_cast<std::int64_t>(v.text_colour)},
        std::pair{pc::kBackgroundColour, static_cast<std::int64_t>(v.background_colour)},
        std::pair{pc::kTextBorderColour, static_cast<std::int64_t>(v.text_border_colour)},
        std::pair{pc::kBorderColour, static_cast<std::int64_t>(v.border_colour)}}) {
    static_cast<QPushButton*>(Control(name))->setIcon(SwatchIcon(colour));
  }

  // "其他设置"
  for (const auto& [tone_row, tone] :
       {std::pair{&light_, &v.light}, std::pair{&contrast_, &v.contrast},
        std::pair{&clearly_, &v.clearly}, std::pair{&saturation_, &v.saturation}}) {
    tone_row->check->setChecked(tone->on);
    tone_row->slider->setValue(tone->value);
    tone_row->label->setText(Q(ToneLabel(tone->value)));
  }
  black_and_white_->setChecked(v.black_and_white);
  remove_exif_->setChecked(v.remove_exif);
  colour_space_->setChecked(v.colour_space);
  from_colour_space_->setCurrentIndex(v.from_colour_space);
  to_colour_space_->setCurrentIndex(v.to_colour_space);
  srgb_icc_->setChecked(v.srgb_icc);
  dpi_->setChecked(v.dpi);
  resample_->setChecked(v.resample);

  // The save choice
  save_to_folder_->setChecked(v.save_mode == PlacementMode::kSaveToFolder);
  overwrite_->setChecked(v.save_mode == PlacementMode::kOverwrite);
  SetText(save_folder_, v.save_folder_text);
  keep_structure_->setChecked(v.keep_structure);
  output_format_->setCurrentIndex(v.output_format);

  for (const auto& [box, edit] : boxes_) SetText(edit, NumberBoxText(values_, box));
  for (const auto& [spinner, box] :
       {std::pair{text_horizontal_spin_, NumberBox::kTextHorizontalMargin},
        std::pair{text_vertical_spin_, NumberBox::kTextVerticalMargin},
        std::pair{image_horizontal_spin_, NumberBox::kImageHorizontalMargin},
        std::pair{image_vertical_spin_, NumberBox::kImageVerticalMargin},
        std::pair{text_size_scale_spin_, NumberBox::kTextSizeScale}}) {
    spinner->setValue(IntegerValue(NumberBoxText(values_, box)));
  }

  // Enabled states and the open or collapsed groups.
  const PanelEnabledStates on = EnabledStates(v);
  zoom_type_->setEnabled(on.zoom_type);
  size_type_->setEnabled(on.size_type);
  boxes_[NumberBox::kSize]->setEnabled(on.size_box);
  unit_->setEnabled(on.size_box);
  keep_aspect_->setEnabled(on.keep_aspect);
  quality_row_->setEnabled(on.quality_controls);
  file_size_row_->setEnabled(on.quality_controls);
  quality_mode_->setEnabled(on.quality_controls);
  quality_row_->setVisible(!on.file_size_shown);
  file_size_row_->setVisible(on.file_size_shown);

  text_content_->setEnabled(on.text_controls);
  boxes_[NumberBox::kTextHorizontalMargin]->setEnabled(on.text_horizontal_margin);
  text_horizontal_spin_->setEnabled(on.text_horizontal_margin);
  boxes_[NumberBox::kTextVerticalMargin]->setEnabled(on.text_vertical_margin);
  text_vertical_spin_->setEnabled(on.text_vertical_margin);
  font_size_->setEnabled(on.font_size_list);
  boxes_[NumberBox::kTextSizeScale]->setEnabled(on.text_size_scale_controls);
  text_size_scale_spin_->setEnabled(on.text_size_scale_controls);
  text_size_scale_type_->setEnabled(on.text_size_scale_controls);
  for (QWidget* spacing :
       {static_cast<QWidget*>(text_spacing_caption_), static_cast<QWidget*>(text_spacing_),
        static_cast<QWidget*>(text_spacing_label_)}) {
    spacing->setEnabled(on.text_tiled_spacing);
  }
  image_content_->setEnabled(on.image_controls);
  boxes_[NumberBox::kImageHorizontalMargin]->setEnabled(on.image_horizontal_margin);
  image_horizontal_spin_->setEnabled(on.image_horizontal_margin);
  boxes_[NumberBox::kImageVerticalMargin]->setEnabled(on.image_vertical_margin);
  image_vertical_spin_->setEnabled(on.image_vertical_margin);
  for (QWidget* spacing :
       {static_cast<QWidget*>(image_spacing_caption_), static_cast<QWidget*>(image_spacing_),
        static_cast<QWidget*>(image_spacing_label_)}) {
    spacing->setEnabled(on.image_tiled_spacing);
  }
  border_content_->setEnabled(on.border_controls);
  for (const auto& [tone_row, enabled] :
       {std::pair{&light_, on.light}, std::pair{&contrast_, on.contrast},
        std::pair{&clearly_, on.clearly}, std::pair{&saturation_, on.saturation}}) {
    tone_row->slider->setEnabled(enabled);
    tone_row->label->setEnabled(enabled);
  }
  from_colour_space_->setEnabled(on.colour_space_lists);
  to_colour_space_->setEnabled(on.colour_space_lists);
  srgb_icc_->setEnabled(on.srgb_icc);
  boxes_[NumberBox::kDpi]->setEnabled(on.dpi_box);
  resample_->setEnabled(on.dpi_box);
  save_folder_->setEnabled(on.save_folder);
  save_folder_button_->setEnabled(on.save_folder);
  keep_structure_->setEnabled(on.save_folder);
  save_folder_->setStyleSheet(on.save_folder ? "QLineEdit { background: white; }" : "");

  const GroupHeights heights = GroupLayout(v);
  for (const auto& [content, placeholder, open] :
       {std::tuple{text_content_, text_placeholder_, heights.text > kWatermarkGroupClosedHeight},
        std::tuple{image_content_, image_placeholder_, heights.image > kWatermarkGroupClosedHeight},
        std::tuple{border_content_, border_placeholder_,
                   heights.border > kBorderGroupClosedHeight}}) {
    content->setVisible(open);
    placeholder->setVisible(!open);
  }
  showing_ = false;
}

void SettingsPanel::Changed(std::optional<PanelChange> change) {
  ShowValues();
  if (change && ChangeRefreshesPreview(values_, *change)) emit PreviewRefreshRequested();
}

QWidget* SettingsPanel::Control(std::string_view name) const {
  return widget()->findChild<QWidget*>(Q(name));
}

void SettingsPanel::ShowRefusal(const Refusal& refusal) {
  if (refusal.scroll == PanelScroll::kTop) verticalScrollBar()->setValue(0);
  if (refusal.scroll == PanelScroll::kBottom) {
    verticalScrollBar()->setValue(verticalScrollBar()->maximum());
  }
  QWidget* control = Control(refusal.control);
  if (control && refusal.scroll == PanelScroll::kNone) ensureWidgetVisible(control);
  for (const PointerHint& pointer : refusal.pointers) {
    if (QWidget* at = Control(pointer.control)) {
      balloons_.Show(at, "看这里", QString::fromStdString(pointer.text), MessageIcon::kWarning);
    }
  }
  if (!refusal.hint_title.empty() && control) {
    balloons_.Show(control, QString::fromStdString(refusal.hint_title),
                   QString::fromStdString(refusal.hint_text), refusal.icon);
  }
  if (!refusal.message.empty()) {
    dialogs_.Tell(this, QString::fromStdString(refusal.caption),
                  QString::fromStdString(refusal.message), refusal.icon);
    // The pointers and the hint belong to the box and close with it.
    balloons_.DismissAll();
  }
  if (control && refusal.take_focus) control->setFocus(Qt::OtherFocusReason);
}

std::optional<RunRecipe> SettingsPanel::Validate() {
  RunRecipe recipe;
  recipe.options = context_.recipe;
  const int dpi = qRound(QGuiApplication::primaryScreen()->logicalDotsPerInchY());
  std::optional<Refusal> refusal = ValidatePanel(values_, recipe, context_.fonts, dpi);
  // What validation copied before a refusal stays in the recipe.
  context_.recipe = recipe.options;
  ShowValues();
  if (refusal) {
    ShowRefusal(*refusal);
    return std::nullopt;
  }
  recipe.profiles = context_.profiles;
  return recipe;
}

void SettingsPanel::SetHoverHints(bool on) {
  for (const HoverHint& hint : PreviewHoverHints()) {
    if (QWidget* control = Control(hint.control)) {
      control->setToolTip(on ? "提示:\n" + Q(hint.text) : QString());
    }
  }
}

bool SettingsPanel::main_window_shown() const { return window() && window()->isVisible(); }

void SettingsPanel::OnNumberBoxFocus(NumberBox box, QLineEdit* edit) {
  editing_.emplace(box, edit->text().toStdString());
}

void SettingsPanel::OnNumberBoxEdited(NumberBox box, QLineEdit* edit) {
  if (!editing_ || editing_->box() != box) OnNumberBoxFocus(box, edit);
  const std::string typed = edit->text().toStdString();
  NumberBoxEdit::Change change = editing_->OnTextChanged(values_, typed);
  if (change.text != typed) {
    edit->setText(QString::fromStdString(change.text));
    edit->setCursorPosition(static_cast<int>(edit->text().size()));
  }
  NumberBoxText(values_, box) = change.text;
  if (change.report) {
    ShowRefusal(*change.report);
    edit->setFocus(Qt::OtherFocusReason);
  }
}

void SettingsPanel::OnNumberBoxLeft(NumberBox box, QLineEdit* edit) {
  if (!editing_ || editing_->box() != box) return;
  NumberBoxEdit::Leave leave =
      editing_->OnLeft(values_, edit->text().toStdString(), main_window_shown());
  editing_.reset();
  SetText(edit, leave.text);
  NumberBoxText(values_, box) = leave.text;
  if (leave.report) {
    ShowRefusal(*leave.report);
    // The focus goes back once the move that left the box is over.
    QTimer::singleShot(0, edit, [edit] { edit->setFocus(Qt::OtherFocusReason); });
    return;
  }
  if (leave.changed && BoxRefreshesPreview(values_, box, false, true)) {
    emit PreviewRefreshRequested();
  }
}

bool SettingsPanel::OnNumberBoxKey(NumberBox box, QLineEdit* edit, int key) {
  if (key == Qt::Key_Up || key == Qt::Key_Down) {
    std::optional<std::string> stepped =
        StepNumberBox(values_, box, edit->text().toStdString(), key == Qt::Key_Up);
    if (!stepped) return false;
    edit->setText(QString::fromStdString(*stepped));
    edit->selectAll();
    NumberBoxText(values_, box) = *stepped;
    return true;
  }
  if (key == Qt::Key_Return || key == Qt::Key_Enter) {
    const bool changed = editing_ && editing_->focus_text() != edit->text().toStdString();
    if (BoxRefreshesPreview(values_, box, true, changed)) emit PreviewRefreshRequested();
    return true;
  }
  if (key == Qt::Key_Tab) {
    if (std::optional<NumberBox> partner = TabPartner(box)) {
      boxes_[*partner]->setFocus(Qt::TabFocusReason);
      boxes_[*partner]->selectAll();
      return true;
    }
  }
  return false;
}

void SettingsPanel::wheelEvent(QWheelEvent* event) {
  // 50 pixels a notch, over the panel and over any of its controls.
  QScrollBar* bar = verticalScrollBar();
  if (bar->maximum() > 0) bar->setValue(bar->value() - event->angleDelta().y() * 50 / 120);
  event->accept();
}

bool SettingsPanel::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Wheel) {
    wheelEvent(static_cast<QWheelEvent*>(event));
    return true;
  }
  if (auto found = box_of_.find(watched); found != box_of_.end()) {
    auto* edit = static_cast<QLineEdit*>(watched);
    const NumberBox box = found->second;
    switch (event->type()) {
      case QEvent::FocusIn: {
        // Coming back from a message box or another window is not a new visit.
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
          OnNumberBoxFocus(box, edit);
        } else if (!editing_ || editing_->box() != box) {
          OnNumberBoxFocus(box, edit);
        }
        break;
      }
      case QEvent::FocusOut: {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
          OnNumberBoxLeft(box, edit);
        }
        break;
      }
      case QEvent::KeyPress:
        if (OnNumberBoxKey(box, edit, static_cast<QKeyEvent*>(event)->key())) return true;
        break;
      default:
        break;
    }
    return false;
  }
  // The watermark text and the font size: Enter applies them, leaving with a change too.
  const bool text_box = watched == text_->lineEdit();
  if (text_box || watched == font_size_->lineEdit()) {
    std::string& at_focus = combo_focus_text_;
    if (event->type() == QEvent::FocusIn) {
      at_focus = text_box ? values_.text : values_.font_size_text;
    } else if (event->type() == QEvent::FocusOut) {
      const std::string now = text_box ? values_.text : values_.font_size_text;
      if (now != at_focus) {
        at_focus = now;
        if (ChangeRefreshesPreview(values_, PanelChange::kTextWatermark)) {
          emit PreviewRefreshRequested();
        }
      }
    } else if (event->type() == QEvent::KeyPress) {
      const int key = static_cast<QKeyEvent*>(event)->key();
      if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        at_focus = text_box ? values_.text : values_.font_size_text;
        if (ChangeRefreshesPreview(values_, PanelChange::kTextWatermark)) {
          emit PreviewRefreshRequested();
        }
        if (text_box) text_->showPopup();
        return true;
      }
    }
  }
  return QScrollArea::eventFilter(watched, event);
}

void SettingsPanel::ChooseColour(std::string_view swatch) {
  std::int64_t current = 0;
  if (swatch == pc::kTextColour) current = values_.text_colour;
  if (swatch == pc::kBackgroundColour) current = std::max(0, values_.background_colour);
  if (swatch == pc::kTextBorderColour) current = values_.text_border_colour;
  if (swatch == pc::kBorderColour) current = values_.border_colour;
  std::optional<QColor> chosen = dialogs_.ChooseColour(this, ColourOf(current));
  if (!chosen) return;
  const std::int32_t bgr = BgrOf(*chosen);
  if (swatch == pc::kTextColour) SetTextColour(values_, bgr);
  if (swatch == pc::kBackgroundColour) values_.background_colour = bgr;
  if (swatch == pc::kTextBorderColour) values_.text_border_colour = static_cast<std::uint32_t>(bgr);
  if (swatch == pc::kBorderColour) {
    values_.border_colour = bgr;
    Changed(PanelChange::kAlways);
    return;
  }
  Changed(PanelChange::kTextWatermark);
}

void SettingsPanel::ChooseWatermarkPicture() {
  const QFileInfo current(QString::fromStdString(values_.image_path));
  const QString start = !values_.image_path.empty() && current.isFile()
                            ? current.absolutePath()
                            : ChooserStartFolder(context_.logo_folder);
  const QString chosen = dialogs_.ChooseOpenFile(
      this, "选择水印图片",
      "图片文件(*.PNG;*.JPG;*.GIF) (*.PNG *.png *.JPG *.jpg *.jpeg *.JPEG *.GIF *.gif);;"
      "PNG图片(*.PNG) (*.PNG *.png);;JPG图片(*.JPG) (*.jpg *.jpeg *.JPG *.JPEG);;"
      "GIF图片 (*.GIF) (*.gif *.GIF)",
      start);
  if (chosen.isEmpty()) return;
  context_.logo_folder = QFileInfo(chosen).absolutePath();
  values_.image_path = chosen.toStdString();
  if (!IsSupportedPicture(values_.image_path)) {
    dialogs_.Tell(this, "提示", "选择的水印图片格式不对，请重新选择", MessageIcon::kError);
    Control(pc::kImageChooseButton)->setFocus(Qt::OtherFocusReason);
  }
  Changed(PanelChange::kImageWatermark);
}

void SettingsPanel::ChooseSaveFolderWithChooser() {
  std::optional<FolderChoice> choice = dialogs_.ChooseFolder(
      this, "图片处理后保存到：", QString::fromStdString(values_.save_folder_text), {});
  if (!choice) return;
  ChooseSaveFolder(values_, choice->folder.toStdString());
  Changed(std::nullopt);
}

void SettingsPanel::SelectOverwrite() {
  if (values_.save_mode == PlacementMode::kOverwrite) {
    // Clicking the selected choice again leaves it selected.
    ShowValues();
    return;
  }
  const SaveModePreferences prefs = ReadSaveModePreferences(context_.store);
  if (AsksOverwriteQuestion(prefs, main_window_shown()) &&
      !dialogs_.AskOkCancel(this, "注意", kOverwriteQuestion, MessageIcon::kWarning)) {
    SelectSaveMode(values_, PlacementMode::kSaveToFolder);
  } else {
    SelectSaveMode(values_, PlacementMode::kOverwrite);
  }
  Changed(std::nullopt);
}

void SettingsPanel::ShowRotationMenu(NumberBox box, QToolButton* button) {
  QMenu menu(this);
  const QString current = boxes_[box]->text();
  for (int preset : kRotationPresets) {
    QAction* act = menu.addAction(QString::number(preset));
    act->setCheckable(true);
    act->setChecked(current == QString::number(preset));
    connect(act, &QAction::triggered, this, [this, box, preset] {
      NumberBoxText(values_, box) = std::to_string(preset);
      Changed(box == NumberBox::kTextRotation ? PanelChange::kTextWatermark
                                              : PanelChange::kImageWatermark);
    });
  }
  menu.exec(button->mapToGlobal(QPoint(0, button->height())));
}

}  // namespace brindle
