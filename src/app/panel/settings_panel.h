#pragma once
// The settings panel at the right edge of the main window: six groups of controls (each built in
// a file of its own) bound to the core's panel values by one table (panel_bindings.h), and the
// "开始处理" button. Every rule (what a box accepts, what is enabled, which group is open, what a
// choice changes, what refreshes the preview) is the core's; the panel shows the values, hands the
// user's changes to the core and shows its refusals.

#include <QScrollArea>
#include <array>
#include <map>
#include <optional>
#include <string_view>
#include <vector>

#include "engine/process/run_recipe.h"
#include "panel/rules/number_box.h"
#include "panel/values/panel_values.h"
#include "window_rules/preview/preview_refresh.h"

class QAbstractSlider;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGridLayout;
class QGroupBox;
class QLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSlider;
class QToolButton;

namespace brindle {

struct AppContext;
class BalloonHints;
class Dialogs;
class HistoryBox;

class SettingsPanel : public QScrollArea {
  Q_OBJECT

 public:
  SettingsPanel(AppContext& context, Dialogs& dialogs, BalloonHints& balloons,
                QWidget* parent = nullptr);

  const PanelValues& values() const { return values_; }
  // The values set from outside (a loaded recipe, the save choice after a run), then shown.
  void SetValues(const PanelValues& values);
  // The context's recipe into every recipe control.
  void LoadRecipe();
  // A recipe file into the context's recipe and the panel; false when it cannot be read.
  bool LoadRecipeFile(const std::filesystem::path& path);

  // Validates the panel into the context's recipe: the run recipe with its watermarks and the
  // colour profiles, or none after the refusal has been shown.
  std::optional<RunRecipe> Validate();
  // A refusal as the panel shows it: scroll, pointers, balloon, message box, focus.
  void ShowRefusal(const Refusal& refusal);
  // The control a refusal or a help text names.
  QWidget* Control(std::string_view name) const;

  // A face mapped by hand, offered at the top of the font box.
  void OfferFont(const std::string& face_name);
  // A face whose mapping was deleted leaves the font box (RemoveFromFontBox); when it was the
  // chosen one, the panel reacts to the first entry as to the user's choice.
  void WithdrawFont(const std::string& face_name);

  // While the effect preview is shown, its hover hints rest on some boxes.
  void SetHoverHints(bool on);
  // Whether the main window is shown, for the boxes whose empty report needs it.
  bool main_window_shown() const;

 signals:
  // A change that alters an open effect preview.
  void PreviewRefreshRequested();
  void StartRequested();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  QWidget* BuildBasicGroup();
  QWidget* BuildTextGroup();
  QWidget* BuildImageGroup();
  QWidget* BuildBorderGroup();
  QWidget* BuildOtherGroup();
  QWidget* BuildSaveGroup();

  QLineEdit* MakeNumberBox(NumberBox box, int max_length, const QString& accessible_name);
  QAbstractSlider* MakeSpinner(NumberBox box, int top, int bottom);
  QPushButton* MakeSwatch(std::string_view name, const QString& accessible_name);
  // A group whose title is its switch: open it shows its controls, closed a placeholder.
  QGridLayout* SwitchGroup(QGroupBox*& group, QWidget*& content, QLabel*& placeholder,
                           const char* title, std::string_view name);
  // A watermark's position list with its distance box and spinner.
  QLayout* PlacementRow(NumberBox box, std::string_view list_name,
                        const std::array<const char*, 3>& texts, const QString& box_name,
                        QComboBox*& list, QAbstractSlider*& spinner);
  // The table's controls: their reactions connected once, their values shown (panel_bindings).
  void BindValueControls();
  void ShowBoundValues();

  // The font box's entries from font_names_.
  void FillFontBox();
  // Widgets from values_ (without reacting to it), then the enabled states and group heights.
  void ShowValues();
  // After a change made by the user: the values shown again, the preview refreshed when the
  // change calls for it.
  void Changed(std::optional<PanelChange> change);

  void OnNumberBoxFocus(NumberBox box, QLineEdit* edit);
  void OnNumberBoxEdited(NumberBox box, QLineEdit* edit);
  void OnNumberBoxLeft(NumberBox box, QLineEdit* edit);
  bool OnNumberBoxKey(NumberBox box, QLineEdit* edit, int key);

  void ChooseColour(std::string_view swatch);
  void ChooseWatermarkPicture();
  void ChooseSaveFolderWithChooser();
  void SelectOverwrite();
  void ShowRotationMenu(NumberBox box, QToolButton* button);

  AppContext& context_;
  Dialogs& dialogs_;
  BalloonHints& balloons_;
  PanelValues values_;
  std::vector<std::string> font_names_;
  bool showing_ = false;  // ShowValues is writing the widgets
  std::map<NumberBox, QLineEdit*> boxes_;
  std::map<QObject*, NumberBox> box_of_;
  std::optional<NumberBoxEdit> editing_;
  std::string combo_focus_text_;          // the watermark text or font size when it got the focus
  std::vector<QWidget*> bound_controls_;  // the table's controls, row by row
  std::map<QObject*, QLabel*> slider_captions_;  // the number beside a slider

  // "基本设置"
  QCheckBox* resize_;
  QComboBox* zoom_type_;
  QComboBox* size_type_;
  QToolButton* unit_;
  QCheckBox* keep_aspect_;
  QCheckBox* quality_;
  QSlider* quality_slider_;
  QLabel* quality_label_;
  QToolButton* quality_mode_;
  QWidget* quality_row_;
  QWidget* file_size_row_;
  QPushButton* file_size_help_;

  // "文字水印"
  QGroupBox* text_group_;
  QWidget* text_content_;
  QLabel* text_placeholder_;
  HistoryBox* text_;
  QComboBox* font_;
  QComboBox* font_size_;
  QToolButton* bold_;
  QToolButton* italic_;
  QToolButton* underline_;
  QToolButton* line_through_;
  QComboBox* text_horizontal_;
  QComboBox* text_vertical_;
  QAbstractSlider* text_horizontal_spin_;
  QAbstractSlider* text_vertical_spin_;
  QComboBox* text_border_size_;
  QComboBox* corner_radius_;
  QSlider* text_opacity_;
  QCheckBox* text_size_scale_;
  QAbstractSlider* text_size_scale_spin_;
  QComboBox* text_size_scale_type_;
  QCheckBox* text_tiled_;
  QLabel* text_spacing_caption_;
  QSlider* text_spacing_;
  QLabel* text_spacing_label_;

  // "图片水印"
  QGroupBox* image_group_;
  QWidget* image_content_;
  QLabel* image_placeholder_;
  HistoryBox* image_path_;
  QComboBox* image_horizontal_;
  QComboBox* image_vertical_;
  QAbstractSlider* image_horizontal_spin_;
  QAbstractSlider* image_vertical_spin_;
  QSlider* image_opacity_;
  QCheckBox* image_tiled_;
  QLabel* image_spacing_caption_;
  QSlider* image_spacing_;
  QLabel* image_spacing_label_;

  // "边框设置"
  QGroupBox* border_group_;
  QWidget* border_content_;
  QLabel* border_placeholder_;
  QComboBox* border_location_;
  QSlider* border_size_;
  QLabel* border_size_label_;
  QSlider* border_padding_;
  QLabel* border_padding_label_;

  // "其他设置"
  struct ToneRow {
    QCheckBox* check;
    QSlider* slider;
    QLabel* label;
  };
  ToneRow light_{}, contrast_{}, clearly_{}, saturation_{};
  QCheckBox* colour_space_;
  QComboBox* from_colour_space_;
  QComboBox* to_colour_space_;
  QCheckBox* srgb_icc_;
  QCheckBox* dpi_;
  QCheckBox* resample_;

  // "处理后保存到" / "直接覆盖原图"
  QRadioButton* save_to_folder_;
  QRadioButton* overwrite_;
  QButtonGroup* save_choice_;
  QLineEdit* save_folder_;
  QPushButton* save_folder_button_;
  QCheckBox* keep_structure_;
  QComboBox* output_format_;
};

}  // namespace brindle
