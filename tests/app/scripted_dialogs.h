#pragma once
// Dialogs answered by the test: what was told is recorded, questions get the scripted answers.

#include <QStringList>
#include <deque>

#include "app/dialogs.h"

namespace brindle::test {

class ScriptedDialogs : public Dialogs {
 public:
  void Tell(QWidget*, const QString& caption, const QString& text, MessageIcon) override {
    told << caption + " | " + text;
  }
  bool AskYesNo(QWidget*, const QString&, const QString& text) override {
    asked << text;
    if (yes_no.empty()) return false;
    const bool answer = yes_no.front();
    yes_no.pop_front();
    return answer;
  }
  ThumbnailAnswer AskThumbnails(QWidget*, int found) override {
    asked << QString::number(found);
    return thumbnail_answer;
  }
  void OpenInDesktop(const QString& target) override { opened << target; }

  QStringList told;
  QStringList asked;
  QStringList opened;
  std::deque<bool> yes_no;
  ThumbnailAnswer thumbnail_answer = ThumbnailAnswer::kKeep;
  QStringList files_to_pick;

 protected:
  QStringList PickFiles(QWidget*, const QString&, const QString&, const QString& start) override {
    picked_from = start;
    return files_to_pick;
  }

 public:
  QString picked_from;
};

}  // namespace brindle::test
