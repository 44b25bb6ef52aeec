#pragma once
// The main window: the toolbar, the picture list in its icon and report views, the settings
// panel's place, the status bar, the menus, and the information window and picture viewer it owns.

#include <QMainWindow>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/main/app_context.h"
#include "run/batch/run_job.h"
#include "window_rules/list/list_adding.h"
#include "window_rules/list/list_status.h"

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
class ConvertWindow;
class CropWindow;
class JoinWindow;
class PngWindow;
class SliceWindow;
class Dialogs;
class FontMappingDialog;
class HelpPopup;
class InfoWindow;
class PictureListModel;
class PicturePane;
class PictureViewer;
class EffectPreviewer;
class ProgressWindow;
class SettingsPanel;

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
  SettingsPanel& panel() const { return *panel_; }
  ProgressWindow& progress() const { return *progress_; }
  PicturePane& preview() const;
  bool preview_shown() const;
  bool running() const { return worker_.running(); }
  // The tool windows once they have been opened.
  ConvertWindow* convert_window() const { return convert_window_; }
  PngWindow* png_window() const { return png_window_; }
  SliceWindow* slice_window() const { return slice_window_; }
  CropWindow* crop_window() const { return crop_window_; }
  JoinWindow* join_window() const { return join_window_; }
  QMenu* BuildSettingsMenu();

  // "效果预览": opens the effect preview of the selected picture, or closes it.
  void TogglePreview();
  // The open preview made again for its picture (after a change in the panel).
  void RefreshPreview();
  // "开始处理".
  void StartBatch();

 protected:
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
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
  // A double-click in the list: the effect preview of the selection, or the chooser when nothing
  // is selected.
  void ListDoubleClicked();
  void OpenFontMapping();
  void MakeDesktopShortcut();
  void ShowAbout();
  void FinishAdding(const ListAddOutcome& outcome, bool list_was_empty);
  void RefreshStatus();
  void PlaceEmptyHint();
  std::vector<int> SelectedRows() const;
  // The selection as runs of rows, without visiting each row.
  RowRuns SelectedRuns() const;
  // The main window's part in showing and leaving the effect preview.
  void PreviewShown(const QString& title, const QString& source_status,
                    const QString& result_status);
  void PreviewClosed();
  struct BatchRun;
  void FinishBatch(const RunOutcome& outcome);
  void AddRecipeMenu(QMenu* menu);
  void SaveRecipeAs();
  void LoadRecipeFile(const std::filesystem::path& file);

  AppContext& context_;
  Dialogs& dialogs_;
  PictureListModel* model_;
  QStackedWidget* views_;
  SettingsPanel* panel_;
  ProgressWindow* progress_;
  HelpPopup* help_;
  QListView* icon_view_;
  QTreeView* report_view_;
  QToolButton* empty_hint_;
  QLabel* list_status_;
  QLabel* selection_status_;
  InfoWindow* info_window_;
  PictureViewer* viewer_;
  BalloonHints* balloons_;
  FontMappingDialog* font_mapping_ = nullptr;  // made on first use, then only hidden
  ListAddState add_state_;
  bool making_thumbnails_ = false;
  int thumbnail_position_ = 0;  // the entry whose thumbnail is being made, 1 for the first
  bool preview_tip_shown_ = false;
  EffectPreviewer* previewer_ = nullptr;  // the effect preview in the list's place
  ConvertWindow* convert_window_ = nullptr;  // the tool windows, made when first opened
  PngWindow* png_window_ = nullptr;
  SliceWindow* slice_window_ = nullptr;
  CropWindow* crop_window_ = nullptr;
  JoinWindow* join_window_ = nullptr;
  // Kept until the next run, the worker's job reads it; shared, so that only the run's own file
  // needs its whole type.
  std::shared_ptr<BatchRun> batch_;
  RunWorker worker_;                 // last: a run still going is stopped before the rest goes
};

}  // namespace brindle
