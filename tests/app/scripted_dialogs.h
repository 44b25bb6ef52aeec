#pragma once
// Dialogs answered by the test: what was told is recorded, questions get the scripted answers.

#include <QStringList>
#include <deque>
#include <functional>
#include <utility>

#include "app/dialogs/dialogs.h"

namespace brindle::test {

class ScriptedDialogs : public Dialogs {
 public:
  void Tell(QWidget*, const QString& caption, const QString& text, MessageIcon) override {
    told << caption + " | " + text;
  }
  bool AskYesNo(QWidget*, const QString&, const QString& text, MessageIcon) override {
    return Answer(text);
  }
  bool AskOkCancel(QWidget*, const QString&, const QString& text, MessageIcon) override {
    return Answer(text);
  }
  std::optional<QColor> ChooseColour(QWidget*, const QColor&) override { return colour; }
  QString ChooseOpenFile(QWidget*, const QString& title, const QString& filter,
                         const QString& start) override {
    open_file_asked = {title, filter, start};
    return file_to_open;
  }
  QString ChooseSaveFile(QWidget*, const QString&, const QString&, const QString&) override {
    return file_to_save;
  }
  ThumbnailAnswer AskThumbnails(QWidget*, int found) override {
    asked << QString::number(found);
    return thumbnail_answer;
  }
  void OpenInDesktop(const QString& target) override { opened << target; }

  // What the test before left: the records and answers not used.
  void Forget() {
    told.clear();
    asked.clear();
    opened.clear();
    yes_no.clear();
  }

  QStringList told;
  QStringList asked;
  QStringList opened;
  std::deque<bool> yes_no;
  ThumbnailAnswer thumbnail_answer = ThumbnailAnswer::kKeep;
  QStringList files_to_pick;
  std::optional<QColor> colour;
  QString file_to_open;
  QStringList open_file_asked;  // title, filter and start folder of the last one-file chooser
  QString file_to_save;
  // Runs while a Yes/No or OK/Cancel question is open, as a person takes time to answer.
  std::function<void()> while_asking;

 private:
  // The next scripted answer; No when none is left.
  bool Answer(const QString& question) {
    asked << question;
    if (while_asking) std::exchange(while_asking, nullptr)();
    if (yes_no.empty()) return false;
    const bool answer = yes_no.front();
    yes_no.pop_front();
    return answer;
  }

 protected:
  QStringList PickFiles(QWidget*, const QString& title, const QString&,
                        const QString& start) override {
    picked_title = title;
    picked_from = start;
    return files_to_pick;
  }
  std::optional<FolderChoice> PickFolder(QWidget*, const QString&, const QString&,
                                         const QStringList&) override {
    if (folder_to_pick.isEmpty()) return std::nullopt;
    return FolderChoice{folder_to_pick, 0};
  }

 public:
  QString picked_title;  // of the last multi-file chooser
  QString picked_from;
  QString folder_to_pick;
};

}  // namespace brindle::test
