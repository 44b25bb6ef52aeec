#include "app/tools/common/tool_window.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>
#include <cstdlib>
#include <utility>

#include "app/dialogs/balloon_hints.h"
#include "app/dialogs/dialogs.h"
#include "app/main/app_context.h"
#include "app/widgets/plain_widgets.h"
#include "prefs/preferences.h"
#include "run/list/picture_scan.h"
#include "tools/common/tool_source.h"
#include "tools/png/png_tool.h"
#include "window_rules/tools/common/tool_run_end.h"

namespace brindle {

namespace fs = std::filesystem;

namespace {

fs::path PathOf(const QString& text) { return fs::path(text.toStdString()); }

QString TextOf(const fs::path& path) { return QString::fromStdString(path.string()); }

}  // namespace

// Forwards the worker's reports to the window's thread.
struct ToolWindow::Observer : RunObserver {
  ToolWindow* window;
  explicit Observer(ToolWindow* w) : window(w) {}

  void OnRunListReady(int count) override {
    QMetaObject::invokeMethod(
        window,
        [w = window, count] {
          w->progress_->setRange(0, count);
          w->progress_->setValue(0);
        },
        Qt::QueuedConnection);
  }
  void OnPictureStarted(int index, int count) override {
    (void)count;
    QMetaObject::invokeMethod(
        window, [w = window, index] { w->progress_->setValue(index); }, Qt::QueuedConnection);
  }
  void OnRunEnded(const RunOutcome& outcome) override {
    QMetaObject::invokeMethod(
        window, [w = window, outcome] { w->FinishRun(outcome); }, Qt::QueuedConnection);
  }
};

ToolWindow::ToolWindow(AppContext& context, Dialogs& dialogs, QWidget& main_window,
                       const QString& title, const QString& start_text)
    : QWidget(nullptr, Qt::Window),
      context_(context),
      dialogs_(dialogs),
      main_window_(main_window),
      balloons_(new BalloonHints(this)),
      source_box_(Named(new QLineEdit, "source_box", "")),
      sub_folders_(NamedButton<QCheckBox>("同时处理所有子文件夹里的图片", "sub_folders_box")),
      output_box_(Named(new QLineEdit, "output_box", "")),
      progress_(Named(new QProgressBar, "progress_bar", "进度")),
      start_(NamedButton<QPushButton>(start_text, "start_button")),
      observer_(std::make_unique<Observer>(this)) {
  setWindowTitle(title);
  setAcceptDrops(true);
  source_box_->setReadOnly(true);
  output_box_->setReadOnly(true);
  progress_->setTextVisible(false);
  progress_->setValue(0);
  connect(start_, &QPushButton::clicked, this, &ToolWindow::Start);
}

ToolWindow::~ToolWindow() = default;

QWidget* ToolWindow::MakeSourceRow(const QString& caption, const QString& button_text) {
  auto* row = new QWidget;
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  source_box_->setAccessibleName(caption);
  auto* choose = NamedButton<QPushButton>(button_text, QString::fromUtf8(kSourceButton));
  connect(choose, &QPushButton::clicked, this, &ToolWindow::ChooseSource);
  layout->addWidget(source_box_, 1);
  layout->addWidget(choose);
  return row;
}

QWidget* ToolWindow::MakeOutputRow(const QString& caption, const QString& button_text) {
  auto* row = new QWidget;
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  output_box_->setAccessibleName(caption);
  auto* choose = NamedButton<QPushButton>(button_text, "output_button");
  connect(choose, &QPushButton::clicked, this, [this] { ChooseOutput(); });
  layout->addWidget(output_box_, 1);
  layout->addWidget(choose);
  return row;
}

QHBoxLayout* ToolWindow::MakeSaveModeRow(QRadioButton*& to_folder, QRadioButton*& overwrite) {
  to_folder = NamedButton<QRadioButton>("处理后保存到", kSaveToFolderOption);
  overwrite = NamedButton<QRadioButton>("直接覆盖原图", "overwrite_option");
  auto* modes = new QButtonGroup(this);
  modes->addButton(to_folder);
  modes->addButton(overwrite);
  return LeftRow({to_folder, overwrite});
}

void ToolWindow::TickSaveMode(QRadioButton* to_folder, bool to_folder_on, QRadioButton* overwrite,
                              bool overwrite_on) {
  // Neither ticked needs the group to let both be clear for a moment.
  to_folder->group()->setExclusive(false);
  to_folder->setChecked(to_folder_on);
  overwrite->setChecked(overwrite_on);
  to_folder->group()->setExclusive(true);
}

QHBoxLayout* ToolWindow::MakeRunRow() {
  auto* row = new QHBoxLayout;
  row->addWidget(progress_, 1);
  row->addWidget(start_);
  return row;
}

fs::path ToolWindow::source_folder() const { return PathOf(source_box_->text()); }

fs::path ToolWindow::output_folder() const { return PathOf(output_box_->text()); }

QWidget* ToolWindow::Control(std::string_view name) const {
  return findChild<QWidget*>(QString::fromUtf8(name.data(), static_cast<int>(name.size())));
}

void ToolWindow::Open() {
  main_window_.hide();
  source_box_->clear();
  output_box_->clear();
  sub_folders_->setChecked(false);
  LoadSettings();
  Present();
  setWindowState(windowState() & ~Qt::WindowMinimized);
  raise();
  activateWindow();
}

void ToolWindow::Present() {
  PlaceCentred(*this, 0);
  show();
}

void ToolWindow::PresentMaximised() {
  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  resize(screen.width() * 8 / 10, screen.height() * 8 / 10);
  move(screen.center() - rect().center());
  showMaximized();
}

std::vector<QLabel*> ToolWindow::LayOutBesidePreview(QWidget* pane, int parts,
                                                     const std::vector<QWidget*>& groups) {
  std::vector<QLabel*> status;
  auto* status_bar = new QHBoxLayout;
  for (int i = 0; i < parts; ++i) {
    auto* part = new QLabel;
    part->setTextFormat(Qt::PlainText);
    if (i + 1 < parts) part->setFixedWidth(200);
    status_bar->addWidget(part, i + 1 < parts ? 0 : 1);
    status.push_back(part);
  }
  auto* left = new QVBoxLayout;
  left->addWidget(pane, 1);
  left->addLayout(status_bar);

  auto* column = new QWidget;
  column->setFixedWidth(400);
  auto* column_layout = new QVBoxLayout(column);
  column_layout->setContentsMargins(0, 0, 0, 0);
  for (QWidget* group : groups) {
    column_layout->addWidget(group);
    DisableWhileRunning(group);
  }
  column_layout->addStretch(1);

  auto* layout = new QHBoxLayout(this);
  layout->addLayout(left, 1);
  layout->addWidget(column);
  preview_pane_ = pane;
  pane->installEventFilter(this);
  pane->setFocusPolicy(Qt::StrongFocus);
  return status;
}

bool ToolWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == preview_pane_ && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    const bool back = key == Qt::Key_Left || key == Qt::Key_Up;
    const bool forward = key == Qt::Key_Right || key == Qt::Key_Down;
    if (back || forward) {
      StepPreview(forward);
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

std::vector<fs::path> ToolWindow::ChoosePictures() {
  const QStringList chosen = dialogs_.ChooseFiles(
      this, "选择图片 - 支持多选",
      "图片文件(*.JPG;*.GIF;*.PNG;*.BMP) (*.JPG *.JPEG *.GIF *.PNG *.BMP *.jpg *.jpeg *.gif *.png "
      "*.bmp);;JPG图片 (*.JPG) (*.jpg *.jpeg *.JPG *.JPEG);;GIF图片 (*.GIF) (*.gif *.GIF);;"
      "PNG图片 (*.PNG) (*.png *.PNG);;BMP图片 (*.BMP) (*.bmp *.BMP)",
      context_.image_folder);
  std::vector<fs::path> paths;
  for (const QString& file : chosen) paths.push_back(PathOf(file));
  return paths;
}

void ToolWindow::SetSource(const fs::path& folder) {
  source_box_->setText(TextOf(folder));
  output_box_->setText(TextOf(DefaultOutputFolder(folder)));
}

void ToolWindow::ChooseSource() {
  while (true) {
    std::optional<FolderChoice> choice =
        dialogs_.ChooseFolder(this, "源图片文件夹：", source_box_->text(), {});
    if (!choice) return;
    const fs::path folder = WithoutTrailingSeparators(PathOf(choice->folder));
    if (refuse_root_ && IsFileSystemRoot(folder)) {
      const RunMessage refusal = ChosenRootRefusal(folder);
      Tell(refusal.caption, refusal.text, refusal.icon);
      continue;
    }
    if (TakeChosenSource(folder)) return;
  }
}

void ToolWindow::ChooseOutput() {
  std::optional<FolderChoice> choice =
      dialogs_.ChooseFolder(this, "图片处理后保存到：", output_box_->text(), {});
  if (choice) output_box_->setText(TextOf(WithoutTrailingSeparators(PathOf(choice->folder))));
}

void ToolWindow::Tell(const std::string& caption, const std::string& text, MessageIcon icon) {
  dialogs_.Tell(this, QString::fromStdString(caption), QString::fromStdString(text), icon);
}

void ToolWindow::ShowRefusal(const Refusal& refusal) {
  QWidget* control = Control(refusal.control);
  if (control && !refusal.hint_title.empty()) {
    balloons_->Show(control, QString::fromStdString(refusal.hint_title),
                    QString::fromStdString(refusal.hint_text), refusal.icon);
  }
  if (!refusal.message.empty()) Tell(refusal.caption, refusal.message, refusal.icon);
  if (control && refusal.take_focus) control->setFocus(Qt::OtherFocusReason);
}

void ToolWindow::Start() {
  if (running()) return;
  std::optional<RunJob> job = PrepareRun();
  if (!job) return;
  start_->setEnabled(false);
  for (QWidget* widget : run_disabled_) widget->setEnabled(false);
  setCursor(Qt::WaitCursor);
  run_open_ = true;
  if (!worker_.Start(std::move(*job), *observer_)) {
    Tell("提示", kThreadStartFailure, MessageIcon::kError);
    std::exit(-1);
  }
}

void ToolWindow::FinishRun(const RunOutcome& outcome) {
  if (asking_to_close_) {
    ended_while_asking_ = outcome;
    return;
  }
  run_open_ = false;
  worker_.Wait();
  start_->setEnabled(true);
  for (QWidget* widget : run_disabled_) widget->setEnabled(true);
  unsetCursor();
  const ToolRunEnd end = DecideToolRunEnd(outcome);
  if (end.message) Tell(end.message->caption, end.message->text, end.message->icon);
  if (end.back_to_main_window) BackToMainWindow();
  if (end.ask_to_open_folder) {
    progress_->setValue(progress_->maximum());
    setWindowState(windowState() & ~Qt::WindowMinimized);
    if (dialogs_.AskYesNo(this, kCompletionCaption, kCompletionQuestion,
                          MessageIcon::kInformation)) {
      dialogs_.OpenInDesktop(TextOf(outcome.folder_to_open));
    }
  }
  progress_->setValue(0);
  AfterRun(outcome);
  if (std::exchange(close_when_ended_, false) && isVisible()) BackToMainWindow();
}

void ToolWindow::BackToMainWindow() {
  hide();
  Closed();
  main_window_.show();
  main_window_.setWindowState(main_window_.windowState() & ~Qt::WindowMinimized);
  main_window_.raise();
  main_window_.activateWindow();
}

void ToolWindow::closeEvent(QCloseEvent* event) {
  event->ignore();
  if (run_open_) {
    if (asking_to_close_) return;
    setWindowState(windowState() & ~Qt::WindowMinimized);
    asking_to_close_ = true;
    const bool close =
        dialogs_.AskOkCancel(this, kClosingCaption, kClosingQuestion, MessageIcon::kQuestion);
    asking_to_close_ = false;
    // A run that ended meanwhile is reported now, after the question; OK then closes the window.
    if (std::optional<RunOutcome> ended = std::exchange(ended_while_asking_, std::nullopt)) {
      close_when_ended_ = close;
      FinishRun(*ended);
      return;
    }
    if (!close) return;
    // The run ends at its next check with "任务已中止" and goes back to the main window; when it
    // has just ended, its report is on the way and the window closes after it.
    if (running()) {
      worker_.RequestStop();
    } else {
      close_when_ended_ = true;
    }
    return;
  }
  BackToMainWindow();
}

void ToolWindow::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls() && !running()) event->acceptProposedAction();
}

void ToolWindow::dropEvent(QDropEvent* event) {
  std::vector<fs::path> paths;
  for (const QUrl& url : event->mimeData()->urls()) {
    if (url.isLocalFile()) paths.push_back(PathOf(url.toLocalFile()));
  }
  event->acceptProposedAction();
  raise();
  activateWindow();
  TakeDrop(paths);
}

void ToolWindow::TakeDrop(const std::vector<fs::path>& paths) {
  SourceDrop drop = TakeDroppedSource(paths);
  if (drop.refusal) {
    Tell(drop.refusal->caption, drop.refusal->text, drop.refusal->icon);
    return;
  }
  SetSource(*drop.folder);
}

bool ToolWindow::KeepFileTime() const {
  return ReadPreference(context_.store, pref::kKeepFileTime) != 0;
}

}  // namespace brindle
