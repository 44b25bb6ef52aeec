// The settings panel's keys and focus (the number boxes with their rules, Enter in the watermark
// text and font size, the wheel) and its choosers (colours, the watermark picture, the save
// folder, the overwrite question, the rotation presets).

#include "app/panel/settings_panel.h"

#include <QComboBox>
#include <QEvent>
#include <QFileInfo>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QScrollBar>
#include <QTimer>
#include <QToolButton>
#include <QWheelEvent>

#include "app/dialogs/dialogs.h"
#include "app/main/app_context.h"
#include "app/panel/history_box.h"
#include "app/panel/panel_widgets.h"
#include "engine/read/supported_picture.h"
#include "panel/values/panel_choices.h"
#include "panel/values/panel_controls.h"
#include "panel/values/panel_list_texts.h"
#include "window_rules/panel/number_box_step.h"
#include "window_rules/panel/save_mode.h"

namespace brindle {

namespace pc = panel_control;

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
