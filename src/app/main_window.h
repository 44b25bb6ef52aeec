#pragma once
// The main window: the toolbar, the picture list in its icon and report views, the settings
// panel's place, the status bar, the menus, and the information window and picture viewer it owns.

#include <QMainWindow>
#include <filesystem>
#include <vector>

#include "app/app_context.h"
#include "shell/list_adding.h"

class QAction;
class QItemSelectionModel;
class QLabel;
class QListView;
class QMenu;
class QStackedWidget;
class QToolButton;
class QTreeView;

namespace brindle {

class BalloonHints;
class Dialogs;
class InfoWindow;
class PictureListModel;
class PictureViewer;

class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  MainWindow(AppContext& context, Dialogs& dialogs);
  ~MainWindow() override;

  // Files and folders as dropped (brindle's own arguments come this way too).
  void AddPaths(const std::vector<std::filesystem::path>& paths);

  PictureListModel& model() const { return *model_; }
  QItemSelectionModel& selection() const;
  QAction* action(const QString& name) const;
  QString list_status() const;
  QString selection_status() const;
  bool empty_hint_shown() const;
  InfoWindow& info_window() const { return *info_window_; }
  PictureViewer& viewer() const { return *viewer_; }
  BalloonHints& balloons() const { return *balloons_; }
  QMenu* BuildSettingsMenu();

 protected:
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildToolBar();
  void BuildList();
  void AddPictures();
  void AddFolder();
  void RemoveSelected();
  void RemoveAll();
  void Orient(OrientationCommand command);
  void ToggleThumbnails();
  void SetThumbnails(bool on);
  void ViewOriginal();
  void ShowListMenu(const QPoint& at);
  void MakeDesktopShortcut();
  void ShowAbout();
  void FinishAdding(const ListAddOutcome& outcome, bool list_was_empty);
  void RefreshStatus();
  void PlaceEmptyHint();
  std::vector<int> SelectedRows() const;

  AppContext& context_;
  Dialogs& dialogs_;
  PictureListModel* model_;
  QStackedWidget* views_;
  QListView* icon_view_;
  QTreeView* report_view_;
  QToolButton* empty_hint_;
  QLabel* list_status_;
  QLabel* selection_status_;
  InfoWindow* info_window_;
  PictureViewer* viewer_;
  BalloonHints* balloons_;
  ListAddState add_state_;
  bool making_thumbnails_ = false;
  bool preview_tip_shown_ = false;
};

}  // namespace brindle
