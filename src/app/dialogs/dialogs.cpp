#include "app/dialogs/dialogs.h"

#include <QColorDialog>
#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QStandardPaths>
#include <QUrl>
#include <filesystem>
#include <vector>

#include "window_rules/dialogs/chooser_limits.h"
#include "window_rules/dialogs/hint_geometry.h"
#include "window_rules/main/main_window_size.h"

namespace brindle {
namespace {

QMessageBox::Icon BoxIcon(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::kNone:
      return QMessageBox::NoIcon;
    case MessageIcon::kInformation:
      return QMessageBox::Information;
    case MessageIcon::kWarning:
      return QMessageBox::Warning;
    case MessageIcon::kError:
      return QMessageBox::Critical;
    case MessageIcon::kQuestion:
      return QMessageBox::Question;
  }
  return QMessageBox::NoIcon;
}

std::filesystem::path PathOf(const QString& text) {
  return std::filesystem::path(text.toStdString());
}

// Qt's own chooser, so its texts follow the program's language. A filter is shown by its name
// alone: the names already list their patterns ("JPG图片 (*.JPG)").
void PrepareFileChooser(QFileDialog& dialog, QFileDialog::FileMode mode) {
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setOption(QFileDialog::HideNameFilterDetails);
  dialog.setFileMode(mode);
}

QStringList RunFileChooser(QWidget* parent, const QString& title, const QString& filter,
                           const QString& start, QFileDialog::FileMode mode,
                           QFileDialog::AcceptMode accept = QFileDialog::AcceptOpen) {
  QFileDialog dialog(parent, title, start, filter);
  PrepareFileChooser(dialog, mode);
  dialog.setAcceptMode(accept);
  if (dialog.exec() != QDialog::Accepted) return {};
  return dialog.selectedFiles();
}

}  // namespace

void Dialogs::Tell(QWidget* parent, const QString& caption, const QString& text, MessageIcon icon) {
  QMessageBox box(BoxIcon(icon), caption, text, QMessageBox::Ok, parent);
  box.setTextFormat(Qt::PlainText);
  box.exec();
}

bool Dialogs::AskYesNo(QWidget* parent, const QString& caption, const QString& text,
                       MessageIcon icon) {
  QMessageBox box(BoxIcon(icon), caption, text, QMessageBox::Yes | QMessageBox::No, parent);
  box.setTextFormat(Qt::PlainText);
  return box.exec() == QMessageBox::Yes;
}

bool Dialogs::AskOkCancel(QWidget* parent, const QString& caption, const QString& text,
                          MessageIcon icon) {
  QMessageBox box(BoxIcon(icon), caption, text, QMessageBox::Ok | QMessageBox::Cancel, parent);
  box.setTextFormat(Qt::PlainText);
  return box.exec() == QMessageBox::Ok;
}

std::optional<QColor> Dialogs::ChooseColour(QWidget* parent, const QColor& initial) {
  // QColorDialog keeps its custom colours for the life of the program.
  const QColor colour = QColorDialog::getColor(initial, parent);
  if (!colour.isValid()) return std::nullopt;
  return colour;
}

QString Dialogs::ChooseOpenFile(QWidget* parent, const QString& title, const QString& filter,
                                const QString& start) {
  return RunFileChooser(parent, title, filter, start, QFileDialog::ExistingFile).value(0);
}

QString Dialogs::ChooseSaveFile(QWidget* parent, const QString& title, const QString& filter,
                                const QString& start) {
  return RunFileChooser(parent, title, filter, start, QFileDialog::AnyFile, QFileDialog::AcceptSave)
      .value(0);
}

ThumbnailAnswer Dialogs::AskThumbnails(QWidget* parent, int found) {
  QMessageBox box(QMessageBox::Question, "提示",
                  QString::fromStdString(ThumbnailQuestionText(found)), QMessageBox::NoButton,
                  parent);
  box.setTextFormat(Qt::PlainText);
  QPushButton* yes = box.addButton(QMessageBox::Yes);
  QPushButton* never = box.addButton("不再提示", QMessageBox::AcceptRole);
  box.addButton("否(&N)", QMessageBox::NoRole);
  box.exec();
  if (box.clickedButton() == yes) return ThumbnailAnswer::kTurnOff;
  if (box.clickedButton() == never) return ThumbnailAnswer::kNeverAsk;
  return ThumbnailAnswer::kKeep;
}

void Dialogs::OpenInDesktop(const QString& folder_or_address) {
  const QUrl url = folder_or_address.startsWith('/') ? QUrl::fromLocalFile(folder_or_address)
                                                     : QUrl(folder_or_address);
  QDesktopServices::openUrl(url);
}

QStringList Dialogs::ChooseFiles(QWidget* parent, const QString& title, const QString& filter,
                                 QString& remembered_folder) {
  const QStringList files = PickFiles(parent, title, filter, ChooserStartFolder(remembered_folder));
  if (files.isEmpty()) return {};
  std::vector<std::filesystem::path> paths;
  for (const QString& file : files) paths.push_back(PathOf(file));
  if (auto refusal = CheckChosenPaths(paths, ChooserKind::kOpenSeveral)) {
    Tell(parent, "提示", QString::fromStdString(*refusal), MessageIcon::kError);
    return {};
  }
  remembered_folder = QFileInfo(files.front()).absolutePath();
  return files;
}

std::optional<FolderChoice> Dialogs::ChooseFolder(QWidget* parent, const QString& title,
                                                  const QString& start, const QStringList& types) {
  std::optional<FolderChoice> choice = PickFolder(parent, title, ChooserStartFolder(start), types);
  if (!choice) return std::nullopt;
  if (auto refusal = CheckChosenFolder(PathOf(choice->folder))) {
    Tell(parent, "提示", QString::fromStdString(*refusal), MessageIcon::kError);
    return std::nullopt;
  }
  return choice;
}

QStringList Dialogs::PickFiles(QWidget* parent, const QString& title, const QString& filter,
                               const QString& start) {
  return RunFileChooser(parent, title, filter, start, QFileDialog::ExistingFiles);
}

std::optional<FolderChoice> Dialogs::PickFolder(QWidget* parent, const QString& title,
                                                const QString& start, const QStringList& types) {
  // Qt's own dialog, so the type box can sit inside it.
  QFileDialog dialog(parent, title, start);
  PrepareFileChooser(dialog, QFileDialog::Directory);
  dialog.setOption(QFileDialog::ShowDirsOnly);
  QComboBox* type_box = nullptr;
  if (!types.isEmpty()) {
    if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout())) {
      type_box = new QComboBox(&dialog);
      type_box->addItems(types);
      auto* label = new QLabel("图片类型：", &dialog);
      label->setBuddy(type_box);
      type_box->setAccessibleName("图片类型：");
      const int row = grid->rowCount();
      grid->addWidget(label, row, 0);
      grid->addWidget(type_box, row, 1);
    }
  }
  // Large enough to see a deep folder tree, in the middle of the screen.
  const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
  const QSize hint = dialog.sizeHint();
  const Size2 size = FolderChooserSize(area.width(), area.height(), hint.width(), hint.height());
  dialog.resize(size.width, size.height);
  PlaceCentred(dialog, 0);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  FolderChoice choice;
  choice.folder = QDir::cleanPath(dialog.selectedFiles().front());
  choice.type = type_box ? type_box->currentIndex() : 0;
  return choice;
}

QString ChooserStartFolder(const QString& remembered) {
  if (!remembered.isEmpty() && QFileInfo(remembered).isDir()) return remembered;
  return DesktopFolder();
}

void PlaceCentred(QWidget& window, int lift) {
  const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
  const WindowCorner corner = CentredCorner(area.x(), area.y(), area.width(), area.height(),
                                            window.width(), window.height(), lift);
  window.move(corner.x, corner.y);
}

QString DesktopFolder() {
  QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
  if (desktop.isEmpty()) desktop = QDir::homePath() + "/Desktop";
  QDir().mkpath(desktop);
  return desktop;
}

}  // namespace brindle
