#include "app/panel/settings_panel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QSlider>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/dialogs/balloon_hints.h"
#include "app/dialogs/dialogs.h"
#include "app/main/app_context.h"
#include "app/panel/panel_widgets.h"
#include "panel/rules/panel_states.h"
#include "panel/rules/panel_validation.h"
#include "panel/values/panel_choices.h"
#include "panel/values/panel_controls.h"
#include "panel/values/panel_labels.h"
#include "panel/values/panel_load.h"
#include "panel/values/panel_text.h"
#include "window_rules/panel/save_mode.h"
#include "window_rules/preview/effect_preview_rules.h"

namespace brindle {

namespace {

namespace pc = panel_control;
namespace fs = std::filesystem;

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
  BindValueControls();

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
  ShowBoundValues();
  // "基本设置"
  unit_->setText(Q(UnitLabel(v.zoom_unit)));
  boxes_[NumberBox::kSize]->setMaxLength(SizeBoxMaxLength(v.zoom_unit));
  keep_aspect_->setText(Q(KeepAspectText(v)));
  keep_aspect_->setAccessibleName(keep_aspect_->text());
  boxes_[NumberBox::kSize]->setAccessibleName(size_type_->currentText());

  // "文字水印"
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
  const StyleButtons styles = ShownStyleButtons(context_.fonts, v.font_name);
  bold_->setVisible(styles.bold);
  italic_->setVisible(styles.italic);
  for (const auto& [name, colour] :
       {std::pair{pc::kTextColour, static_cast<std::int64_t>(v.text_colour)},
        std::pair{pc::kBackgroundColour, static_cast<std::int64_t>(v.background_colour)},
        std::pair{pc::kTextBorderColour, static_cast<std::int64_t>(v.text_border_colour)},
        std::pair{pc::kBorderColour, static_cast<std::int64_t>(v.border_colour)}}) {
    static_cast<QPushButton*>(Control(name))->setIcon(SwatchIcon(colour));
  }

  // The save choice
  save_to_folder_->setChecked(v.save_mode == PlacementMode::kSaveToFolder);
  overwrite_->setChecked(v.save_mode == PlacementMode::kOverwrite);
  SetText(save_folder_, v.save_folder_text);

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

}  // namespace brindle
