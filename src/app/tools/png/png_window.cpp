#include "app/tools/png/png_window.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/dialogs/dialogs.h"
#include "app/main/app_context.h"
#include "app/tools/common/output_controls.h"
#include "app/widgets/digits_box.h"
#include "app/widgets/plain_widgets.h"
#include "run/target/placement_mode.h"
#include "tools/common/tool_settings_store.h"
#include "tools/png/png_tool.h"

namespace brindle {

namespace fs = std::filesystem;

PngWindow::PngWindow(AppContext& context, Dialogs& dialogs, QWidget& main_window)
    : ToolWindow(context, dialogs, main_window, "BrindlePNG图片批量处理工具", "开始处理"),
      resize_(Named(new QCheckBox, "zoom_box", "调整图片尺寸")),
      kind_(Named(new QComboBox, "zoom_kind_list", "图片缩小")),
      side_(Named(new QComboBox, "zoom_side_list", "图片宽：")),
      length_(DigitsBox(kZoomValueBox, "图片宽：", 4)),
      keep_proportions_(NamedButton<QCheckBox>("", "keep_proportions_box")),
      black_white_(NamedButton<QCheckBox>("转换成黑白图", "black_white_box")),
      output_(new OutputControls("")) {
  auto* banner = new QLabel;
  banner->setPixmap(QPixmap(":/icons/png-banner.svg"));
  banner->setFixedSize(600, 100);

  auto* source_group = new QGroupBox("源图片文件夹");
  auto* source_layout = new QVBoxLayout(source_group);
  source_layout->addWidget(MakeSourceRow("源图片文件夹"));
  source_layout->addWidget(sub_folders());

  auto* options_group = new QGroupBox("处理选项");
  auto* options = new QGridLayout(options_group);
  kind_->addItems({"图片缩小", "图片放大", "图片缩放"});
  side_->addItems({"图片宽：", "图片高："});
  auto* help = NamedButton<QPushButton>("?", "help_button");
  help->setAccessibleName("帮助");
  help->setFixedWidth(28);
  auto* resize_row = new QHBoxLayout;
  for (QWidget* control :
       {static_cast<QWidget*>(resize_), static_cast<QWidget*>(kind_), static_cast<QWidget*>(side_),
        static_cast<QWidget*>(length_), static_cast<QWidget*>(keep_proportions_)}) {
    resize_row->addWidget(control);
  }
  resize_row->addStretch(1);
  resize_row->addWidget(help);
  options->addLayout(resize_row, 0, 0);
  options->addWidget(black_white_, 1, 0);

  auto* save_group = new QGroupBox;
  auto* save_layout = new QVBoxLayout(save_group);
  save_layout->addLayout(MakeSaveModeRow(to_folder_, overwrite_));
  QWidget* output_row = MakeOutputRow("处理后保存到");
  output_button_ = output_row->findChild<QPushButton*>("output_button");
  save_layout->addWidget(output_row);
  save_layout->addWidget(output_);
  save_layout->addLayout(MakeRunRow());

  // The banner runs from edge to edge; the groups keep a margin.
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 8);
  layout->addWidget(banner);
  auto* groups = new QVBoxLayout;
  groups->setContentsMargins(8, 0, 8, 0);
  for (QGroupBox* group : {source_group, options_group, save_group}) {
    groups->addWidget(group);
    DisableWhileRunning(group);
  }
  layout->addLayout(groups);

  connect(resize_, &QCheckBox::clicked, this, [this] {
    FollowResize();
    if (resize_->isChecked()) length_->setFocus(Qt::OtherFocusReason);
  });
  for (QComboBox* list : {kind_, side_}) {
    connect(list, &QComboBox::currentIndexChanged, this, &PngWindow::FollowResize);
    connect(list, &QComboBox::activated, this, [this] { length_->setFocus(Qt::OtherFocusReason); });
  }
  connect(help, &QPushButton::clicked, this,
          [this] { Tell("提示", kPngToolHelpText, MessageIcon::kInformation); });
  connect(to_folder_, &QRadioButton::clicked, this, [this] {
    choice_.ChooseToFolder();
    ShowSaveChoice();
  });
  connect(overwrite_, &QRadioButton::clicked, this, &PngWindow::ChooseOverwrite);
  setFixedSize(600, 478);
}

void PngWindow::FollowResize() {
  const bool on = resize_->isChecked();
  for (QWidget* control :
       {static_cast<QWidget*>(kind_), static_cast<QWidget*>(side_), static_cast<QWidget*>(length_),
        static_cast<QWidget*>(keep_proportions_)}) {
    control->setEnabled(on);
  }
  keep_proportions_->setText(
      PngKeepProportionsLabel(static_cast<PngZoomKind>(kind_->currentIndex()),
                              static_cast<PngZoomSide>(side_->currentIndex())));
  keep_proportions_->setAccessibleName(keep_proportions_->text());
  kind_->setAccessibleName(kind_->currentText());
  side_->setAccessibleName(side_->currentText());
  length_->setAccessibleName(side_->currentText());
}

void PngWindow::ShowSaveChoice() {
  TickSaveMode(to_folder_, choice_.mode() == PngSaveMode::kToFolder, overwrite_,
               choice_.mode() == PngSaveMode::kOverwrite);
  output_box()->setText(QString::fromStdString(choice_.box().string()));
  output_box()->setEnabled(choice_.output_enabled());
  output_button_->setEnabled(choice_.output_enabled());
}

void PngWindow::ChooseOverwrite() {
  if (!output_button_->isEnabled()) return;
  if (dialogs_.AskOkCancel(this, "注意", kOverwriteQuestion, MessageIcon::kQuestion)) {
    choice_.ChooseOverwrite();
  } else {
    choice_.ChooseToFolder();
  }
  ShowSaveChoice();
}

void PngWindow::ChooseOutput() {
  // Through the save choice, which remembers the folder.
  std::optional<FolderChoice> chosen =
      dialogs_.ChooseFolder(this, "图片处理后保存到：", output_box()->text(), {});
  if (!chosen) return;
  choice_.ChooseOutput(fs::path(chosen->folder.toStdString()));
  ShowSaveChoice();
}

void PngWindow::SetSource(const fs::path& folder) {
  source_box()->setText(QString::fromStdString(folder.string()));
  choice_.SetSource(folder);
  ShowSaveChoice();
}

void PngWindow::LoadSettings() {
  const auto settings = LoadToolSettings<PngToolSettings>(context_.store);
  resize_->setChecked(settings.zoom);
  kind_->setCurrentIndex(static_cast<int>(settings.zoom_kind));
  side_->setCurrentIndex(static_cast<int>(settings.zoom_side));
  length_->setText(settings.zoom_value ? QString::number(*settings.zoom_value) : QString());
  keep_proportions_->setChecked(settings.zoom_keep_proportions);
  black_white_->setChecked(settings.black_white);
  output_->Show(settings);
  FollowResize();
  choice_.Open();
  ShowSaveChoice();
}

std::optional<RunJob> PngWindow::PrepareRun() {
  PngJob job;
  job.source_folder = source_folder();
  job.include_sub_folders = sub_folders()->isChecked();
  job.save_mode = choice_.mode();
  job.output_folder = output_folder();
  job.keep_time = KeepFileTime();
  PngToolSettings& settings = job.settings;
  settings.zoom = resize_->isChecked();
  settings.zoom_kind = static_cast<PngZoomKind>(kind_->currentIndex());
  settings.zoom_side = static_cast<PngZoomSide>(side_->currentIndex());
  settings.zoom_value = NumberOf(length_);
  settings.zoom_keep_proportions = keep_proportions_->isChecked();
  settings.black_white = black_white_->isChecked();
  output_->Store(settings);
  if (std::optional<Refusal> refusal = ValidatePngStart(job)) {
    ShowRefusal(*refusal);
    return std::nullopt;
  }
  WriteToolSettings(context_.store, settings);
  return [job](RunObserver& observer, const std::atomic<bool>& stop) {
    return RunPngJob(job, observer, stop);
  };
}

void PngWindow::AfterRun(const RunOutcome& outcome) {
  (void)outcome;
  choice_.EndRun();
  ShowSaveChoice();
}

}  // namespace brindle
