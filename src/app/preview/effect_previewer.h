#pragma once
// The effect preview, shown in the picture list's place: the recipe applied to one entry of the
// list, made on a thread of its own, stepped through the list with the arrow keys. The main window
// says which entry and when to make it again, and follows what it reports (the title, the status
// lines, its toolbar); this owns the pane and the preview's state.

#include <QImage>
#include <QObject>
#include <QString>
#include <functional>
#include <string>

#include "app/preview/preview_worker.h"

class QStackedWidget;

namespace brindle {

class PictureListModel;
class PicturePane;
class SettingsPanel;

class EffectPreviewer : public QObject {
  Q_OBJECT

 public:
  // The pane joins views, the stack that holds the list; first_selected gives the list's first
  // selected row, -1 for none.
  EffectPreviewer(PictureListModel& model, SettingsPanel& panel, QStackedWidget& views,
                  std::function<int()> first_selected, QObject* parent = nullptr);

  PicturePane& pane() const { return *pane_; }
  bool shown() const;
  // Opens the preview of the selected picture, or closes it.
  void Toggle();
  // The open preview made again for its picture (after a change in the panel).
  void Refresh();
  void Close();
  // The arrow keys: the next or the previous picture of the list.
  void Step(bool forward);

 signals:
  // A made preview is shown, with the window's title and the two status lines.
  void Shown(const QString& title, const QString& source_status, const QString& result_status);
  // The preview asked for could not be opened.
  void OpenFailed();
  // The preview was left; the list comes back.
  void Closed();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Asks the preview worker for the recipe applied to the previewed (or selected) picture; false
  // when the panel refuses the recipe or there is no picture to show.
  bool Request(bool opening);
  void ShowMade(const QImage& image, const QString& source_status, const QString& result_status);

  PictureListModel& model_;
  SettingsPanel& panel_;
  QStackedWidget& views_;
  std::function<int()> first_selected_;
  PicturePane* pane_;
  int index_ = -1;        // the list row the effect preview shows; -1 for none
  std::string name_;      // its name when it was asked for
  bool opening_ = false;  // the latest request opens the preview
  bool busy_ = false;     // one validation at a time
  PreviewWorker worker_;  // last: a preview still being made is finished and dropped first
};

}  // namespace brindle
