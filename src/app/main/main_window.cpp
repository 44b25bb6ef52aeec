#include "app/main/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QListView>
#include <QMimeData>
#include <QMouseEvent>
#include <QScreen>
#include <QShortcut>
#include <QStackedWidget>
#include <QStatusBar>
#include <QToolButton>
#include <QTreeView>
#include <QUrl>

#include "app/dialogs/balloon_hints.h"
#include "app/dialogs/dialogs.h"
#include "app/dialogs/help_popup.h"
#include "app/list/picture_list_model.h"
#include "app/main/info_window.h"
#include "app/main/picture_viewer.h"
#include "app/main/progress_window.h"
#include "app/panel/settings_panel.h"
#include "app/preview/effect_previewer.h"
#include "app/tools/convert/convert_window.h"
#include "app/tools/crop/crop_window.h"
#include "app/tools/join/join_window.h"
#include "app/tools/png/png_window.h"
#include "app/tools/slice/slice_window.h"
#include "base/info_log.h"
#include "base/product_name.h"
#include "engine/read/picture_info.h"
#include "engine/read/viewable_copy.h"
#include "panel/values/panel_controls.h"
#include "prefs/auto_fill.h"
#include "window_rules/dialogs/hint_geometry.h"
#include "window_rules/list/list_status.h"
#include "window_rules/main/main_window_size.h"

namespace brindle {
namespace {

namespace fs = std::filesystem;

constexpr const char* kPictureFilter =
    "图片文件(*.JPG;*.GIF;*.PNG;*.BMP;*.JFIF;*.TIF;*.TBI;*.PSD;*.HEIC;*.AVIF;*.WEBP) "
    "(*.JPG *.jpg *.JPEG *.jpeg *.GIF *.gif *.PNG *.png *.BMP *.bmp *.JFIF *.jfif *.TIF *.tif "
    "*.TIFF *.tiff *.TBI *.tbi *.PSD *.psd *.HEIC *.heic *.HEIF *.heif *.AVIF *.avif *.WEBP "
    "*.webp);;"
    "JPG图片 (*.JPG) (*.jpg *.jpeg *.JPG *.JPEG);;GIF图片 (*.GIF) (*.gif *.GIF);;"
    "PNG图片 (*.PNG) (*.png *.PNG);;BMP图片 (*.BMP) (*.bmp *.BMP);;"
    "JFIF图片 (*.JFIF) (*.jfif *.JFIF);;TIF图片 (*.TIF) (*.tif *.tiff *.TIF *.TIFF);;"
    "TBI图片 (*.TBI) (*.tbi *.TBI);;PSD图片 (*.PSD) (*.psd *.PSD);;"
    "HEIC图片 (*.HEIC) (*.heic *.heif *.HEIC *.HEIF);;AVIF图片 (*.AVIF) (*.avif *.AVIF);;"
    "WEBP图片 (*.WEBP) (*.webp *.WEBP)";

class QuestionsThroughDialogs : public ListAddQuestions {
 public:
  QuestionsThroughDialogs(Dialogs& dialogs, QWidget* parent) : dialogs_(dialogs), parent_(parent) {}
  bool IncludeSubFolders(const fs::path&) override {
    return dialogs_.AskYesNo(parent_, "确认", "是否需要加载所有子文件夹中的图片？");
  }
  ThumbnailAnswer AskThumbnails(int found) override {
    return dialogs_.AskThumbnails(parent_, found);
  }

 private:
  Dialogs& dialogs_;
  QWidget* parent_;
};

// The main window stands this much above the middle of the screen.
constexpr int kMainWindowLift = 26;

}  // namespace

MainWindow::MainWindow(AppContext& context, Dialogs& dialogs)
    : context_(context),
      dialogs_(dialogs),
      model_(new PictureListModel(this)),
      views_(new QStackedWidget),
      icon_view_(new QListView),
      report_view_(new QTreeView),
      empty_hint_(new QToolButton),
      list_status_(new QLabel),
      selection_status_(new QLabel),
      info_window_(new InfoWindow(this)),
      viewer_(new PictureViewer(this)),
      balloons_(new BalloonHints(this)) {
  panel_ = new SettingsPanel(context_, dialogs_, *balloons_);
  progress_ = new ProgressWindow(this);
  help_ = new HelpPopup(this);
  setWindowTitle(QString::fromStdString(ProductTitleWithVersion()));
  setWindowIcon(QIcon(":/icons/brindle.svg"));
  setAcceptDrops(true);
  add_state_.thumbnails_on = context_.preferences.is_show_thumbnail != 0;
  add_state_.parse_file_format = context_.preferences.is_read_file_parse_file_format != 0;
  add_state_.skip_thumbnail_question = context_.preferences.skip_check_load_pic_count != 0;
  model_->SetThumbnailsOn(add_state_.thumbnails_on);

  BuildToolBar();
  BuildList();
  previewer_ = new EffectPreviewer(*model_, *panel_, *views_, [this] {
    const RowRuns runs = SelectedRuns();
    return runs.empty() ? -1 : runs.front().first;
  }, this);
  connect(previewer_, &EffectPreviewer::Shown, this, &MainWindow::PreviewShown);
  connect(previewer_, &EffectPreviewer::OpenFailed, this,
          [this] { action("preview")->setChecked(false); });
  connect(previewer_, &EffectPreviewer::Closed, this, &MainWindow::PreviewClosed);

  panel_->setFixedWidth(260);
  auto* central = new QWidget;
  auto* layout = new QHBoxLayout(central);
  layout->setContentsMargins(1, 1, 1, 1);
  layout->setSpacing(3);
  layout->addWidget(views_, 1);
  layout->addWidget(panel_);
  setCentralWidget(central);

  connect(panel_, &SettingsPanel::PreviewRefreshRequested, this, &MainWindow::RefreshPreview);
  connect(panel_, &SettingsPanel::StartRequested, this, &MainWindow::StartBatch);
  connect(progress_, &ProgressWindow::StopPressed, this, [this] { worker_.RequestStop(); });
  auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
  connect(escape, &QShortcut::activated, this, [this] {
    if (preview_shown()) previewer_->Close();
  });

  for (QLabel* part : {list_status_, selection_status_}) part->setTextFormat(Qt::PlainText);
  list_status_->setMinimumWidth(300);
  statusBar()->addWidget(list_status_);
  // A line between the two parts: the preview's source and result texts run long and would
  // otherwise read as one.
  auto* divider = new QFrame(statusBar());
  divider->setFrameShape(QFrame::VLine);
  divider->setFrameShadow(QFrame::Sunken);
  statusBar()->addWidget(divider);
  statusBar()->addWidget(selection_status_, 1);

  connect(model_, &PictureListModel::ThumbnailsBusyChanged, this, [this](bool busy) {
    making_thumbnails_ = busy;
    if (!busy) thumbnail_position_ = 0;
    RefreshStatus();
  });
  // Only the count part changes as each thumbnail is begun.
  connect(model_, &PictureListModel::ThumbnailStarted, this, [this](int position) {
    thumbnail_position_ = position;
    if (!preview_shown() && making_thumbnails_) {
      list_status_->setText(
          QString::fromStdString(ListThumbnailText(model_->rowCount(), position)));
    }
  });
  connect(model_, &QAbstractItemModel::rowsInserted, this, &MainWindow::RefreshStatus);
  connect(model_, &QAbstractItemModel::rowsRemoved, this, &MainWindow::RefreshStatus);
  connect(model_, &QAbstractItemModel::modelReset, this, &MainWindow::RefreshStatus);
  connect(&selection(), &QItemSelectionModel::selectionChanged, this, &MainWindow::RefreshStatus);

  auto* f2 = new QShortcut(QKeySequence(Qt::Key_F2), this);
  f2->setContext(Qt::ApplicationShortcut);
  connect(f2, &QShortcut::activated, info_window_, &InfoWindow::Toggle);
  auto* f1 = new QShortcut(QKeySequence(Qt::Key_F1), this);
  connect(f1, &QShortcut::activated, this, [this] { ShowHelpFor(this, QCursor::pos(), *help_); });

  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  const ClientSize client = MainWindowClientSize(screen.width(), screen.height());
  resize(client.width, client.height);
  PlaceCentred(*this, kMainWindowLift);
  RefreshStatus();
}

MainWindow::~MainWindow() {
  // A preview still being made is finished and dropped while the window is whole.
  delete previewer_;
  // The tool windows are top-level windows of their own; a run going on is stopped with them.
  delete convert_window_;
  delete png_window_;
  delete slice_window_;
  delete crop_window_;
  delete join_window_;
}

QItemSelectionModel& MainWindow::selection() const { return *icon_view_->selectionModel(); }

QAction* MainWindow::action(const QString& name) const { return findChild<QAction*>(name); }

QString MainWindow::list_status() const { return list_status_->text(); }

QString MainWindow::selection_status() const { return selection_status_->text(); }

bool MainWindow::empty_hint_shown() const { return empty_hint_->isVisibleTo(this); }

void MainWindow::BuildList() {
  // Help finds the list by the stack that holds its two views.
  views_->setObjectName(QString::fromUtf8(window_control::kPictureList.data(),
                                          static_cast<int>(window_control::kPictureList.size())));
  icon_view_->setModel(model_);
  icon_view_->setObjectName("picture_icons");
  icon_view_->setAccessibleName("图片列表");
  icon_view_->setViewMode(QListView::IconMode);
  icon_view_->setIconSize(QSize(96, 96));
  icon_view_->setGridSize(QSize(122, 132));
  icon_view_->setResizeMode(QListView::Adjust);
  icon_view_->setMovement(QListView::Static);
  icon_view_->setUniformItemSizes(true);
  icon_view_->setWordWrap(true);
  icon_view_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  // The views share one selection, read as whole rows. The icon view shows only the name column,
  // so a click, a key or a band there must select the row too, as in the report view.
  icon_view_->setSelectionBehavior(QAbstractItemView::SelectRows);
  icon_view_->setTextElideMode(Qt::ElideMiddle);

  report_view_->setModel(model_);
  report_view_->setObjectName("picture_report");
  report_view_->setAccessibleName("图片列表");
  report_view_->setSelectionModel(icon_view_->selectionModel());
  report_view_->setRootIsDecorated(false);
  report_view_->setUniformRowHeights(true);
  report_view_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  report_view_->setColumnWidth(0, 490);
  report_view_->setColumnWidth(1, 460);
  report_view_->setIconSize(QSize(16, 16));

  views_->addWidget(icon_view_);
  views_->addWidget(report_view_);
  views_->setCurrentWidget(add_state_.thumbnails_on ? static_cast<QWidget*>(icon_view_)
                                                    : report_view_);

  for (QAbstractItemView* view : {static_cast<QAbstractItemView*>(icon_view_),
                                  static_cast<QAbstractItemView*>(report_view_)}) {
    view->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(view, &QWidget::customContextMenuRequested, this, &MainWindow::ShowListMenu);
    auto* remove = new QShortcut(QKeySequence::Delete, view);
    remove->setContext(Qt::WidgetShortcut);
    connect(remove, &QShortcut::activated, this, &MainWindow::RemoveSelected);
    connect(view, &QAbstractItemView::doubleClicked, this, &MainWindow::ListDoubleClicked);
    // A double-click on empty space reaches no item, and the view reports none.
    view->viewport()->installEventFilter(this);
  }

  empty_hint_->setParent(views_);
  empty_hint_->setObjectName("empty_hint");
  empty_hint_->setText("添加图片（或把图片、文件夹拖放到这里）");
  empty_hint_->setAccessibleName(empty_hint_->text());
  empty_hint_->setIcon(QIcon(":/icons/add-picture.svg"));
  empty_hint_->setIconSize(QSize(32, 32));
  empty_hint_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  empty_hint_->setFixedSize(293, 52);
  empty_hint_->setCursor(Qt::PointingHandCursor);
  empty_hint_->setStyleSheet(
      "QToolButton { border: 2px dashed #9bb7dc; border-radius: 8px; background: #f4f8fd; }");
  connect(empty_hint_, &QToolButton::clicked, this, &MainWindow::AddPictures);
  views_->installEventFilter(this);
}

void MainWindow::ListDoubleClicked() {
  if (SelectedRuns().empty()) {
    AddPictures();
  } else {
    TogglePreview();
  }
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == views_ && event->type() == QEvent::Resize) PlaceEmptyHint();
  if (event->type() == QEvent::MouseButtonDblClick &&
      (watched == icon_view_->viewport() || watched == report_view_->viewport())) {
    const QAbstractItemView* view = watched == icon_view_->viewport()
                                        ? static_cast<QAbstractItemView*>(icon_view_)
                                        : report_view_;
    const auto* mouse = static_cast<QMouseEvent*>(event);
    if (mouse->button() == Qt::LeftButton && !view->indexAt(mouse->position().toPoint()).isValid()) {
      ListDoubleClicked();
      return true;
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

void MainWindow::PlaceEmptyHint() {
  empty_hint_->move((views_->width() - empty_hint_->width()) / 2,
                    (views_->height() - empty_hint_->height()) / 2);
  empty_hint_->raise();
}

RowRuns MainWindow::SelectedRuns() const {
  RowRuns runs;
  // A picture is selected when its name (column 0, what the icon view shows) is.
  for (const QItemSelectionRange& range : selection().selection()) {
    if (range.isValid() && range.left() == 0) runs.emplace_back(range.top(), range.bottom());
  }
  return JoinRowRuns(std::move(runs));
}

std::vector<int> MainWindow::SelectedRows() const {
  std::vector<int> rows;
  for (const auto& [first, last] : SelectedRuns()) {
    for (int row = first; row <= last; ++row) rows.push_back(row);
  }
  return rows;
}

void MainWindow::RefreshStatus() {
  // The preview's own status lines stay while it is shown.
  if (preview_shown()) return;
  const int count = model_->rowCount();
  const RowRuns runs = SelectedRuns();
  const int selected = RowsIn(runs);
  list_status_->setText(QString::fromStdString(
      making_thumbnails_ && thumbnail_position_ > 0 ? ListThumbnailText(count, thumbnail_position_)
                                                     : ListCountText(count, making_thumbnails_)));
  selection_status_->setText(
      QString::fromStdString(SelectionText(selected, [&] {
        const fs::path& path = model_->list()[static_cast<std::size_t>(runs.front().first)].path;
        PictureInfo info = PictureInfoLine(path);
        if (!info.header_recognised) {
          LogInfo(FormatMessage("无法识别的图片:\r\n%s", path.c_str()));
        }
        return info.text;
      })));
  const ListCommandStates states = ListCommandStatesOf(count, selected);
  for (const char* name :
       {"remove_picture", "rotate_left", "rotate_right", "flip_horizontal", "flip_vertical"}) {
    action(name)->setEnabled(states.remove);
  }
  action("preview")->setEnabled(states.remove);
  action("start")->setEnabled(states.start);
  empty_hint_->setVisible(states.empty_hint);
  if (states.empty_hint) PlaceEmptyHint();
}

void MainWindow::AddPaths(const std::vector<fs::path>& paths) {
  const bool was_empty = model_->rowCount() == 0;
  list_status_->setText("加载图片中...");
  QuestionsThroughDialogs questions(dialogs_, this);
  QApplication::setOverrideCursor(Qt::WaitCursor);
  ListAddOutcome outcome = model_->Append(
      [&](PictureList& list) { return AddDroppedPaths(list, paths, questions, add_state_); });
  QApplication::restoreOverrideCursor();
  FinishAdding(outcome, was_empty);
}

void MainWindow::AddPictures() {
  const QStringList files =
      dialogs_.ChooseFiles(this, "选择图片 - 支持多选", kPictureFilter, context_.image_folder);
  if (files.isEmpty()) return;
  const bool was_empty = model_->rowCount() == 0;
  std::vector<fs::path> paths;
  for (const QString& file : files) paths.emplace_back(file.toStdString());
  ListAddOutcome outcome =
      model_->Append([&](PictureList& list) { return AddChosenFiles(list, paths, add_state_); });
  FinishAdding(outcome, was_empty);
}

void MainWindow::AddFolder() {
  QStringList types;
  for (const std::string& type : FolderTypeChoices()) types << QString::fromStdString(type);
  std::optional<FolderChoice> choice =
      dialogs_.ChooseFolder(this, "添加图片文件夹：", context_.image_folder, types);
  if (!choice) return;
  const bool was_empty = model_->rowCount() == 0;
  QuestionsThroughDialogs questions(dialogs_, this);
  QApplication::setOverrideCursor(Qt::WaitCursor);
  ListAddOutcome outcome = model_->Append([&](PictureList& list) {
    return AddChosenFolder(list, choice->folder.toStdString(), FolderTypePattern(choice->type),
                           questions, add_state_);
  });
  QApplication::restoreOverrideCursor();
  if (outcome.message) {
    const bool root = outcome.added == 0 && IsFileSystemRoot(choice->folder.toStdString());
    dialogs_.Tell(this, root ? "错误" : "提示", QString::fromStdString(*outcome.message),
                  root ? MessageIcon::kError : MessageIcon::kWarning);
  }
  FinishAdding(outcome, was_empty);
}

void MainWindow::FinishAdding(const ListAddOutcome& outcome, bool list_was_empty) {
  if (outcome.thumbnails_turned_off) SetThumbnails(false);
  if (outcome.never_ask_stored) WritePreference(context_.store, pref::kSkipCheckLoadPicCount, 1);
  for (const LongPathNotice& notice : outcome.long_paths) {
    dialogs_.Tell(this, kLongPathCaption, QString::fromStdString(notice.message),
                  MessageIcon::kError);
  }
  // The file manager is opened once, at the first path that was too long.
  if (!outcome.long_paths.empty()) {
    dialogs_.OpenInDesktop(
        QString::fromStdString(outcome.long_paths.front().path.parent_path().string()));
  }
  RefreshStatus();
  // The preview tip, at most three times in all and once per run.
  const int shown = ReadPreference(context_.store, pref::kShowPreviewTipTimes);
  if (list_was_empty && model_->rowCount() > 0 && shown <= 2 && !preview_tip_shown_) {
    preview_tip_shown_ = true;
    WritePreference(context_.store, pref::kShowPreviewTipTimes, shown + 1);
    QAbstractItemView* view = model_->thumbnails_on() ? static_cast<QAbstractItemView*>(icon_view_)
                                                       : report_view_;
    // A hidden list is not laid out for the tip's sake (that would ask for its thumbnails).
    const QRect item =
        view->isVisible() ? view->visualRect(model_->index(0, 0)) : QRect(0, 0, 1, 1);
    const Point2 at = PreviewTipPoint({item.x(), item.y(), item.width(), item.height()},
                                      view->viewport()->width(), view->viewport()->height());
    balloons_->ShowAt(view->viewport(), QPoint(at.x, at.y), "双击图片进入【效果预览】模式",
                      "窗口右侧的图片处理设置选项，可通过效果预览查看处理后的效果。",
                      MessageIcon::kInformation);
  }
}

void MainWindow::RemoveSelected() {
  RowRuns runs = SelectedRuns();
  if (!runs.empty()) model_->Remove(std::move(runs));
}

void MainWindow::RemoveAll() { model_->RemoveAll(); }

void MainWindow::Orient(OrientationCommand command) {
  model_->ApplyToRows(SelectedRows(), command);
}

void MainWindow::ToggleThumbnails() { SetThumbnails(!model_->thumbnails_on()); }

void MainWindow::SetThumbnails(bool on) {
  add_state_.thumbnails_on = on;
  WritePreference(context_.store, pref::kIsShowThumbnail, on ? 1 : 0);
  model_->SetThumbnailsOn(on);
  views_->setCurrentWidget(on ? static_cast<QWidget*>(icon_view_) : report_view_);
}

void MainWindow::ViewOriginal() {
  const RowRuns runs = SelectedRuns();
  if (runs.empty()) return;
  const fs::path& path = model_->list()[static_cast<std::size_t>(runs.front().first)].path;
  viewer_->ShowFile(QString::fromStdString(path.string()),
                    QString::fromStdString(context_.folders.temp.string()));
}

PicturePane& MainWindow::preview() const { return previewer_->pane(); }

bool MainWindow::preview_shown() const { return previewer_->shown(); }

void MainWindow::TogglePreview() { previewer_->Toggle(); }

void MainWindow::RefreshPreview() { previewer_->Refresh(); }

void MainWindow::PreviewShown(const QString& title, const QString& source_status,
                              const QString& result_status) {
  setWindowTitle(title);
  empty_hint_->setVisible(false);
  for (const char* name : {"add_picture", "add_folder", "remove_picture"}) {
    action(name)->setEnabled(false);
  }
  action("preview")->setChecked(true);
  list_status_->setText(source_status);
  selection_status_->setText(result_status);
}

void MainWindow::PreviewClosed() {
  views_->setCurrentWidget(model_->thumbnails_on() ? static_cast<QWidget*>(icon_view_)
                                                   : report_view_);
  action("preview")->setChecked(false);
  action("add_picture")->setEnabled(true);
  action("add_folder")->setEnabled(true);
  setWindowTitle(QString::fromStdString(ProductTitleWithVersion()));
  views_->currentWidget()->setFocus(Qt::OtherFocusReason);
  RefreshStatus();
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
  const int key = event->key();
  if (preview_shown() &&
      (key == Qt::Key_Left || key == Qt::Key_Up || key == Qt::Key_Right || key == Qt::Key_Down)) {
    previewer_->Step(key == Qt::Key_Right || key == Qt::Key_Down);
    return;
  }
  QMainWindow::keyPressEvent(event);
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
  std::vector<fs::path> paths;
  for (const QUrl& url : event->mimeData()->urls()) {
    if (url.isLocalFile()) paths.emplace_back(url.toLocalFile().toStdString());
  }
  event->acceptProposedAction();
  AddPaths(paths);
}

void MainWindow::closeEvent(QCloseEvent* event) {
  // A run going on is stopped: the pictures in hand are finished, nothing is left half written.
  if (worker_.running()) {
    worker_.RequestStop();
    worker_.Wait();
  }
  progress_->hide();
  StoreChooserFolders(context_);
  info_window_->close();
  viewer_->close();
  // The viewer's copy of the last picture it showed is not left behind.
  std::error_code ec;
  fs::remove(context_.folders.temp / kViewableCopyName, ec);
  QMainWindow::closeEvent(event);
}

}  // namespace brindle
