#pragma once
// The message boxes and choosers every window uses. Windows ask through one Dialogs object, so
// tests answer them through a subclass instead of a person. Texts are always shown as plain text.

#include <QColor>
#include <QString>
#include <QStringList>
#include <optional>

#include "base/refusal.h"
#include "window_rules/list/list_adding.h"

class QWidget;

namespace brindle {

struct FolderChoice {
  QString folder;
  int type = 0;  // the type box's entry, when the chooser has one
};

class Dialogs {
 public:
  virtual ~Dialogs() = default;

  // A box with one OK button.
  virtual void Tell(QWidget* parent, const QString& caption, const QString& text, MessageIcon icon);
  // A Yes/No question; true for Yes.
  virtual bool AskYesNo(QWidget* parent, const QString& caption, const QString& text,
                        MessageIcon icon = MessageIcon::kQuestion);
  // An OK/Cancel question; true for OK.
  virtual bool AskOkCancel(QWidget* parent, const QString& caption, const QString& text,
                           MessageIcon icon);
  // The thumbnail question of a large add.
  virtual ThumbnailAnswer AskThumbnails(QWidget* parent, int found);
  // Opens the desktop's file manager at a folder or a web address in the browser.
  virtual void OpenInDesktop(const QString& folder_or_address);

  // The colour chooser with its custom colours kept between uses; none when cancelled.
  virtual std::optional<QColor> ChooseColour(QWidget* parent, const QColor& initial);
  // One file to open or to save; empty when cancelled.
  virtual QString ChooseOpenFile(QWidget* parent, const QString& title, const QString& filter,
                                 const QString& start);
  virtual QString ChooseSaveFile(QWidget* parent, const QString& title, const QString& filter,
                                 const QString& start);

  // The multi-file chooser: the chosen files after the path limits (none when one is too long,
  // which is told). remembered_folder is where it opens and gets the chosen files' folder.
  QStringList ChooseFiles(QWidget* parent, const QString& title, const QString& filter,
                          QString& remembered_folder);
  // The folder chooser, with the picture type box when types is not empty; none when cancelled
  // or too long (told).
  std::optional<FolderChoice> ChooseFolder(QWidget* parent, const QString& title,
                                           const QString& start, const QStringList& types);

 protected:
  // What the person picked, before any check.
  virtual QStringList PickFiles(QWidget* parent, const QString& title, const QString& filter,
                                const QString& start);
  virtual std::optional<FolderChoice> PickFolder(QWidget* parent, const QString& title,
                                                 const QString& start, const QStringList& types);
};

// The folder a chooser opens in: the remembered one when it still exists, else the desktop.
QString ChooserStartFolder(const QString& remembered);

// Moves a window to the middle of the primary screen's usable area, `lift` pixels above it.
void PlaceCentred(QWidget& window, int lift);

// The user's desktop folder (made when missing).
QString DesktopFolder();

}  // namespace brindle
