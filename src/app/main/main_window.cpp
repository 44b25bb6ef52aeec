#include "app/main/main_window.h"

#include <QAction>
#include <QActionGroup>
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
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QScreen>
#include <QScrollArea>
#include <QShortcut>
#include <QStackedWidget>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>
#include <QUrl>
#include <type_traits>

#include "app/dialogs/auto_fill_dialog.h"
#include "app/dialogs/balloon_hints.h"
#include "app/dialogs/dialogs.h"
#include "app/dialogs/font_mapping_dialog.h"
#include "app/dialogs/help_popup.h"
#include "app/dialogs/save_mode_dialog.h"
#include "app/main/info_window.h"
#include "app/main/picture_list_model.h"
#include "app/main/picture_viewer.h"
#include "app/main/progress_window.h"
#include "app/panel/settings_panel.h"
#include "app/preview/effect_previewer.h"
#include "app/tools/convert/convert_window.h"
#include "app/tools/crop/crop_window.h"
#include "app/tools/join/join_window.h"
#include "app/tools/png/png_window.h"
#include "app/tools/slice/slice_window.h"
#include "app/widgets/picture_pane.h"
#include "base/info_log.h"
#include "base/maker_web_site.h"
#include "base/product_name.h"
#include "engine/read/picture_info.h"
#include "engine/read/viewable_copy.h"
#include "panel/values/panel_choices.h"
#include "panel/values/panel_controls.h"
#include "prefs/auto_fill.h"
#include "recipe/options_file.h"
#include "run/batch/batch_run.h"
#include "run/list/batch_list.h"
#include "run/preview/effect_preview.h"
#include "window_rules/dialogs/hint_geometry.h"
#include "window_rules/main/batch_end.h"
#include "window_rules/main/desktop_launcher.h"
#include "window_rules/main/list_status.h"
#include "window_rules/main/main_window_size.h"
#include "window_rules/panel/recipe_files.h"
#include "window_rules/panel/settings_menu.h"
#include "window_rules/preview/effect_preview_rules.h"

namespace brindle {
namespace {

namespace fs = std::filesystem;

struct ToolbarCommand {
  const char* name;  // the action's object name
  const char* icon;
  const char* text;
  const char* tip;  // nullptr: the text
};

// In toolbar order; nullptr names mark separators.
constexpr ToolbarCommand kToolbar[] = {
    {"add_picture", "add-picture", "添加图片", nullptr},
    {"add_folder", "add-folder", "添文件夹", "添加图片文件夹"},
    {"remove_picture", "remove-picture", "移除图片", nullptr},
    {nullptr, nullptr, nullptr, nullptr},
    {"rotate_left", "rotate-left", "图片左转", nullptr},
    {"rotate_right", "rotate-right", "图片右转", nullptr},
    {"flip_horizontal", "flip-horizontal", "水平翻转", nullptr},
    {"flip_vertical", "flip-vertical", "垂直翻转", nullptr},
    {nullptr, nullptr, nullptr, nullptr},
    {"preview", "preview", "效果预览", "根据图片相关设置，在开始处理前先预览一下效果。"},
    {"start", "start", "开始处理", nullptr},
    {nullptr, nullptr, nullptr, nullptr},
    {"png_tool", "png", "处理PNG", nullptr},
    {"join_tool", "join", "图片拼接", nullptr},
    {"slice_tool", "slice", "图片切片", nullptr},
    {"crop_tool", "crop", "图片裁剪", nullptr},
    {"convert_tool", "convert", "格式转换", nullptr},
    {nullptr, nullptr, nullptr, nullptr},
    {"shortcut", "shortcut", "快捷方式", "在桌面创建一个快捷启动方式"},
    {"website", "website", "官方网站", nullptr},
    {"about", "about", "关于", nullptr},
    {"guide", "guide", "使用指南",
     "将鼠标移动到软件界面的控件上，按 F1 键，将显示与该控件相关的使用说明。"},
    {nullptr, nullptr, nullptr, nullptr},
    {"settings", "settings", "软件设置", nullptr},
};

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

constexpr const char* kRecipeFilter = "图片设置文件 (*.sz)";

// The main window stands this much above the middle of the screen.
constexpr int kMainWindowLift = 26;

}  // namespace

// One batch run: what its worker reads and what it reports back to the window. Observer calls
// come on the run's thread, one at a time; they reach the window through its event queue.
struct MainWindow::BatchRun : RunObserver {
  MainWindow* window = nullptr;
  RunRecipe recipe;
  BatchSettings settings;
  std::vector<PictureEntry> entries;
  std::vector<int> written;

  void OnPictureStarted(int index, int) override {
    QMetaObject::invokeMethod(
        window, [w = window, index] { w->progress_->ShowPicture(index); }, Qt::QueuedConnection);
  }
  void OnPictureDone(const PictureOutcome& outcome) override {
    if (outcome.end == PictureEnd::kWritten) written.push_back(outcome.index);
  }
  void OnRunEnded(const RunOutcome& outcome) override {
    QMetaObject::invokeMethod(
        window, [w = window, outcome] { w->FinishBatch(outcome); }, Qt::QueuedConnection);
  }
};

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

void MainWindow::BuildToolBar() {
  auto* bar = addToolBar("工具栏");
  bar->setObjectName("toolbar");
  bar->setMovable(false);
  bar->setIconSize(QSize(32, 32));
  bar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
  for (const ToolbarCommand& command : kToolbar) {
    if (!command.name) {
      bar->addSeparator();
      continue;
    }
    auto* act = new QAction(QIcon(QString(":/icons/%1.svg").arg(command.icon)), command.text, this);
    act->setObjectName(command.name);
    act->setToolTip(command.tip ? command.tip : command.text);
    bar->addAction(act);
  }
  connect(action("add_picture"), &QAction::triggered, this, &MainWindow::AddPictures);
  connect(action("add_folder"), &QAction::triggered, this, &MainWindow::AddFolder);
  connect(action("remove_picture"), &QAction::triggered, this, &MainWindow::RemoveSelected);
  connect(action("rotate_left"), &QAction::triggered, this,
          [this] { Orient(OrientationCommand::kRotateLeft); });
  connect(action("rotate_right"), &QAction::triggered, this,
          [this] { Orient(OrientationCommand::kRotateRight); });
  connect(action("flip_horizontal"), &QAction::triggered, this,
          [this] { Orient(OrientationCommand::kFlipHorizontally); });
  connect(action("flip_vertical"), &QAction::triggered, this,
          [this] { Orient(OrientationCommand::kFlipVertically); });
  connect(action("shortcut"), &QAction::triggered, this, &MainWindow::MakeDesktopShortcut);
  connect(action("about"), &QAction::triggered, this, &MainWindow::ShowAbout);
  const QString site = QString("https://%1/").arg(kMakerWebSiteHost);
  connect(action("website"), &QAction::triggered, this,
          [this, site] { dialogs_.OpenInDesktop(site); });
  connect(action("guide"), &QAction::triggered, this,
          [this, site] { dialogs_.OpenInDesktop(site); });
  action("preview")->setCheckable(true);
  connect(action("preview"), &QAction::triggered, this, &MainWindow::TogglePreview);
  connect(action("start"), &QAction::triggered, this, &MainWindow::StartBatch);
  // Each tool window is made when first asked for, then kept.
  auto tool = [this](const char* name, auto*& window) {
    connect(action(name), &QAction::triggered, this, [this, &window] {
      if (!window)
        window = new std::remove_reference_t<decltype(*window)>(context_, dialogs_, *this);
      window->Open();
    });
  };
  tool("convert_tool", convert_window_);
  tool("png_tool", png_window_);
  tool("slice_tool", slice_window_);
  tool("crop_tool", crop_window_);
  tool("join_tool", join_window_);
  auto* settings = qobject_cast<QToolButton*>(bar->widgetForAction(action("settings")));
  connect(action("settings"), &QAction::triggered, this, [this, settings] {
    QMenu* menu = BuildSettingsMenu();
    menu->exec(settings->mapToGlobal(QPoint(0, settings->height())));
    menu->deleteLater();
  });
}

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

void MainWindow::ShowListMenu(const QPoint& at) {
  const ListCommandStates states =
      ListCommandStatesOf(model_->rowCount(), RowsIn(SelectedRuns()));
  QMenu menu(this);
  menu.addAction("添加图片", this, &MainWindow::AddPictures);
  menu.addAction("添加文件夹", this, &MainWindow::AddFolder);
  menu.addSeparator();
  menu.addAction("移除选中", this, &MainWindow::RemoveSelected)->setEnabled(states.remove);
  menu.addAction("移除全部", this, &MainWindow::RemoveAll)->setEnabled(states.remove_all);
  menu.addSeparator();
  QAction* thumbnails = menu.addAction("显示缩略图", this, &MainWindow::ToggleThumbnails);
  thumbnails->setCheckable(true);
  thumbnails->setChecked(model_->thumbnails_on());
  menu.addSeparator();
  menu.addAction("查看原图", this, &MainWindow::ViewOriginal)->setEnabled(states.view_original);
  auto* view = qobject_cast<QWidget*>(sender());
  menu.exec(view ? view->mapToGlobal(at) : QCursor::pos());
}

QMenu* MainWindow::BuildSettingsMenu() {
  auto* menu = new QMenu(this);
  menu->setObjectName("settings_menu");
  auto toggle = [&](const char* text, const NumberPreference& preference, auto&& after) {
    QAction* act = menu->addAction(text);
    act->setCheckable(true);
    act->setChecked(ReadPreference(context_.store, preference) != 0);
    connect(act, &QAction::toggled, this, [this, &preference, after](bool on) {
      WritePreference(context_.store, preference, on ? 1 : 0);
      after(on);
    });
  };
  toggle("显示缩略图", pref::kIsShowThumbnail, [this](bool on) { SetThumbnails(on); });
  toggle("解析图片文件获取真实的图片格式", pref::kIsReadFileParseFileFormat,
         [this](bool on) { add_state_.parse_file_format = on; });
  toggle("记住【处理后保存到】的路径, 每次启动时使用", pref::kIsRecordSaveToPath, [](bool) {});
  toggle("处理后保留原图片的修改时间", pref::kKeepFileTime, [](bool) {});
  menu->addSeparator();
  menu->addAction("设置图片处理完成后, 下一次的保存模式...", this,
                  [this] { SaveModeDialog(context_.store, dialogs_, this).exec(); });
  menu->addAction("自动填充设置...", this,
                  [this] { AutoFillDialog(context_.store, dialogs_, this).exec(); });
  menu->addAction("字体文件映射...", this, &MainWindow::OpenFontMapping);
  toggle("使用代理服务器 - 来自浏览器设置", pref::kProxyType, [](bool) {});
  menu->addSeparator();

  QMenu* threads = menu->addMenu("处理图片的线程模型");
  const int model = NormalizeThreadModel(ReadPreference(context_.store, pref::kUseThreadModel));
  auto* thread_group = new QActionGroup(threads);
  for (const MenuChoice& choice : ThreadModelChoices()) {
    QAction* act = threads->addAction(choice.text);
    act->setCheckable(true);
    act->setActionGroup(thread_group);
    const int value = std::stoi(choice.stored);
    act->setChecked(value == model);
    connect(act, &QAction::triggered, this,
            [this, value] { WritePreference(context_.store, pref::kUseThreadModel, value); });
  }

  QMenu* cmyk = menu->addMenu("CMYK色彩图片缺省ICC配置文件");
  const int checked = CheckedCmykChoice(ReadPreference(context_.store, pref::kCmykDefaultIcc));
  auto* cmyk_group = new QActionGroup(cmyk);
  for (std::size_t i = 0; i < CmykProfileChoices().size(); ++i) {
    const MenuChoice& choice = CmykProfileChoices()[i];
    QAction* act = cmyk->addAction(choice.text);
    act->setCheckable(true);
    act->setActionGroup(cmyk_group);
    act->setChecked(static_cast<int>(i) == checked);
    const std::string stored = choice.stored;
    connect(act, &QAction::triggered, this, [this, stored] {
      WritePreference(context_.store, pref::kCmykDefaultIcc, stored);
      context_.preferences.cmyk_default_icc = stored;
      CmykProfileLoad load =
          LoadCmykProfile(context_.folders.IccFolder(), stored, context_.profiles);
      if (!load.message.empty()) {
        dialogs_.Tell(this, kProfileMessageCaption, QString::fromStdString(load.message),
                      MessageIcon::kError);
      }
      RefreshPreview();
    });
  }
  AddRecipeMenu(menu);
  return menu;
}

void MainWindow::AddRecipeMenu(QMenu* menu) {
  menu->addSeparator();
  menu->addAction("保存当前图片设置...", this, &MainWindow::SaveRecipeAs);
  menu->addSeparator();
  const fs::path folder = context_.folders.RecipeFolder();
  const std::vector<fs::path> recent = RecentRecipes(folder);
  for (const fs::path& file : recent) {
    // A "&" in a name is shown as typed, not as a shortcut mark.
    QString text = QString::fromStdString(RecentRecipeMenuText(file));
    text.replace("&", "&&");
    menu->addAction(text, this, [this, file] { LoadRecipeFile(file); });
  }
  if (!recent.empty()) menu->addSeparator();
  menu->addAction("加载图片默认设置", this, [this] {
    const fs::path file = context_.folders.DefaultRecipeFile();
    if (!WriteDefaultOptionsFile(file)) {
      dialogs_.Tell(this, "错误", QString::fromStdString(WriteFailureText(file)),
                    MessageIcon::kError);
      return;
    }
    LoadRecipeFile(file);
  });
  menu->addSeparator();
  menu->addAction("加载图片设置...", this, [this, folder] {
    EnsureRecipeFolder(folder);
    const QString chosen = dialogs_.ChooseOpenFile(this, "加载图片处理的相关设置", kRecipeFilter,
                                                   QString::fromStdString(folder.string()));
    if (!chosen.isEmpty()) LoadRecipeFile(chosen.toStdString());
  });
}

void MainWindow::SaveRecipeAs() {
  if (!panel_->Validate()) return;
  const fs::path folder = context_.folders.RecipeFolder();
  if (std::optional<std::string> failure = EnsureRecipeFolder(folder)) {
    dialogs_.Tell(this, "错误", QString::fromStdString(*failure), MessageIcon::kError);
    return;
  }
  const QString chosen =
      dialogs_.ChooseSaveFile(this, "保存当前图片处理的相关设置到文件", kRecipeFilter,
                              QString::fromStdString(folder.string()));
  if (chosen.isEmpty()) return;
  // Saying nothing when the file could not be written would leave the user believing it was.
  if (std::optional<std::string> failure =
          SaveRecipeFile(context_.recipe, RecipeSavePath(chosen.toStdString()), folder)) {
    dialogs_.Tell(this, "错误", QString::fromStdString(*failure), MessageIcon::kError);
  }
}

void MainWindow::LoadRecipeFile(const fs::path& file) {
  std::error_code ec;
  if (!fs::is_regular_file(file, ec)) {
    dialogs_.Tell(this, "错误", QString::fromStdString(MissingRecipeText(file)),
                  MessageIcon::kError);
    return;
  }
  if (!panel_->LoadRecipeFile(file)) {
    dialogs_.Tell(
        this, "错误",
        QString::fromStdString(FormatMessage("无法读取图片处理设置文件:[%s]", file.c_str())),
        MessageIcon::kError);
    return;
  }
  RefreshPreview();
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

void MainWindow::StartBatch() {
  if (worker_.running() || model_->rowCount() == 0) return;
  std::optional<RunRecipe> recipe = panel_->Validate();
  if (!recipe) return;
  const PanelValues& values = panel_->values();
  auto run = std::make_unique<BatchRun>();
  run->window = this;
  run->recipe = std::move(*recipe);
  run->settings.placement = values.save_mode;
  run->settings.target_folder = values.save_folder_text;
  run->settings.keep_structure = values.keep_structure;
  run->settings.keep_time = ReadPreference(context_.store, pref::kKeepFileTime) != 0;
  run->settings.thread_count =
      BatchThreadCount(ReadPreference(context_.store, pref::kUseThreadModel), model_->list());
  run->entries = model_->list().entries();
  // No save choice, or a target folder that cannot be used: nothing is stored or touched.
  if (std::optional<Refusal> refusal = PrepareBatchRun(run->settings, run->entries)) {
    panel_->ShowRefusal(*refusal);
    return;
  }
  StoreRunRecipe(run->recipe, context_.folders.ConfigFile());
  if (run->recipe.options.bSYText) RememberText(context_.store, run->recipe.options.sy_text);
  if (run->recipe.options.bSYImage) RememberPicture(context_.store, run->recipe.options.sy_image);

  worker_.Wait();
  batch_ = std::move(run);
  BatchRun* job = batch_.get();
  progress_->Begin(static_cast<int>(job->entries.size()));
  const bool started = worker_.Start(
      [job](RunObserver& observer, const std::atomic<bool>& stop_requested) {
        return RunBatch(job->recipe, job->settings, job->entries, observer, stop_requested);
      },
      *job);
  if (!started) {
    progress_->hide();
    dialogs_.Tell(this, "提示", kThreadStartFailure, MessageIcon::kError);
    QApplication::exit(-1);
  }
}

void MainWindow::FinishBatch(const RunOutcome& outcome) {
  worker_.Wait();
  progress_->hide();
  BatchRun& run = *batch_;
  if (run.settings.placement == PlacementMode::kOverwrite) {
    model_->TakeRunResults(run.entries, run.written);
  }
  const BatchEnd end =
      DecideBatchEnd(outcome, run.settings.placement, ReadSaveModePreferences(context_.store),
                     ReadPreference(context_.store, pref::kIsRecordSaveToPath) != 0);
  if (end.store_target_folder) {
    WritePreference(context_.store, pref::kSaveToPath, run.settings.target_folder);
  }
  if (end.ask_to_open_folder && dialogs_.AskYesNo(this, kBatchDoneCaption, kBatchOpenFolderQuestion,
                                                  MessageIcon::kInformation)) {
    dialogs_.OpenInDesktop(QString::fromStdString(run.settings.target_folder));
  }
  if (end.message) {
    dialogs_.Tell(this, QString::fromStdString(end.message->caption),
                  QString::fromStdString(end.message->text), end.message->icon);
  }
  if (end.save_choice) {
    PanelValues values = panel_->values();
    SelectSaveMode(values, *end.save_choice);
    panel_->SetValues(values);
  }
  if (run.settings.placement == PlacementMode::kOverwrite) RefreshPreview();
  RefreshStatus();
}

void MainWindow::OpenFontMapping() {
  if (!font_mapping_) {
    font_mapping_ = new FontMappingDialog(context_, dialogs_, *balloons_, *panel_, this);
  }
  font_mapping_->exec();
}

void MainWindow::MakeDesktopShortcut() {
  const fs::path desktop = DesktopFolder().toStdString();
  const fs::path executable = QApplication::applicationFilePath().toStdString();
  if (WriteDesktopLauncher(desktop, executable)) {
    dialogs_.Tell(this, "提示", kLauncherCreatedText, MessageIcon::kInformation);
  } else {
    dialogs_.Tell(
        this, "错误",
        QString("无法在桌面上创建快捷方式：%1").arg(QString::fromStdString(desktop.string())),
        MessageIcon::kError);
  }
}

void MainWindow::ShowAbout() {
  dialogs_.Tell(this, "关于",
                QString::fromStdString(ProductTitleWithVersion()) +
                    "\n\n一次设置，批量处理成百上千张图片：缩放、压缩、文字和图片水印、边框、"
                    "色调、黑白、去除Exif、色彩空间与分辨率，另有格式转换、裁剪、拼接、切片和"
                    "PNG工具。",
                MessageIcon::kInformation);
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
