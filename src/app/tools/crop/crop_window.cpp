#include "app/tools/crop/crop_window.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "app/dialogs/dialogs.h"
#include "app/main/app_context.h"
#include "app/tools/common/load_format_boxes.h"
#include "app/tools/common/output_controls.h"
#include "app/tools/common/picture_list_panel.h"
#include "app/tools/common/source_mode_choice.h"
#include "app/widgets/box_refresh.h"
#include "app/widgets/digits_box.h"
#include "app/widgets/picture_pane.h"
#include "app/widgets/pixels_image.h"
#include "app/widgets/plain_widgets.h"
#include "platform/magick/pixel_memory_pool.h"
#include "run/target/placement_mode.h"
#include "tools/common/tool_settings_store.h"
#include "tools/common/tool_source.h"
#include "window_rules/tools/common/tool_picture_list.h"

namespace brindle {

namespace fs = std::filesystem;

namespace {

// The panels of the parameter stack, in order: the three modes with alignment, then the side
// trims in pixels and in percent.
enum Panel { kFixedPanel, kPercentPanel, kRatioPanel, kSidePixelPanel, kSidePercentPanel };

}  // namespace

CropWindow::CropWindow(AppContext& context, Dialogs& dialogs, QWidget& main_window)
    : ToolWindow(context, dialogs, main_window, "Brindle图片批量裁剪工具", "开始裁剪"),
      preview_(Named(new PicturePane, "crop_preview", "裁剪预览")),
      output_(new OutputControls("格式：")) {
  set_refuse_root(false);
  const std::vector<QLabel*> status =
      LayOutBesidePreview(preview_, 3, {BuildSourceGroup(), BuildCropGroup(), BuildSaveGroup()});
  std::copy(status.begin(), status.end(), status_.begin());
  setMinimumWidth(600);
}

QWidget* CropWindow::BuildSourceGroup() {
  auto* group = new QGroupBox("源图片");
  auto* layout = new QVBoxLayout(group);
  auto* folder_panel = new QWidget;
  auto* folder_layout = new QVBoxLayout(folder_panel);
  folder_layout->setContentsMargins(0, 0, 0, 0);
  folder_layout->addWidget(MakeSourceRow("源图片文件夹", "选择"));
  formats_ = new LoadFormatBoxes(false, "%1_box");
  connect(formats_, &LoadFormatBoxes::Clicked, this, [this] { RebuildPreviewList(); });
  folder_layout->addWidget(formats_);
  folder_layout->addWidget(sub_folders());
  connect(sub_folders(), &QCheckBox::clicked, this, [this] { RebuildPreviewList(); });

  list_panel_ = new PictureListPanel(kCropAddButton);
  source_mode_ = new SourceModeChoice(folder_panel, list_panel_);
  connect(source_mode_, &SourceModeChoice::Chosen, this, [this] { RebuildPreviewList(); });
  layout->addWidget(source_mode_);
  connect(list_panel_, &PictureListPanel::AddClicked, this,
          [this] { AddPictures(ChoosePictures()); });
  connect(list_panel_, &PictureListPanel::DeleteClicked, this, &CropWindow::DeleteSelected);
  connect(list_panel_, &PictureListPanel::ClearClicked, this, &CropWindow::ClearList);
  return group;
}

QLineEdit* CropWindow::Box(const char* name, const QString& caption, int digits) {
  QLineEdit* box = DigitsBox(name, caption, digits, 64);
  RefreshOnEnterOrChange(box, [this] { RequestPreview(); });
  return box;
}

QWidget* CropWindow::BuildCropGroup() {
  auto* group = new QGroupBox("裁剪");
  auto* layout = new QVBoxLayout(group);
  mode_ = Named(new QComboBox, "mode_list", "裁剪固定尺寸");
  mode_->addItems({"裁剪固定尺寸", "裁剪百分比", "裁剪宽高比", "裁掉四周"});
  align_ = Named(new QComboBox, "align_list", "裁剪正中间");
  align_->addItems({"裁剪正中间", "裁剪左上角", "裁剪左下角", "裁剪右上角", "裁剪右下角"});
  units_ = new QWidget;
  auto* units_layout = new QHBoxLayout(units_);
  units_layout->setContentsMargins(0, 0, 0, 0);
  by_pixels_ = NamedButton<QRadioButton>("按像素", "by_pixels_option");
  by_percent_ = NamedButton<QRadioButton>("按百分比", "by_percent_option");
  units_layout->addWidget(by_pixels_);
  units_layout->addWidget(by_percent_);
  auto* choices = new QHBoxLayout;
  choices->addWidget(mode_);
  choices->addWidget(align_);
  choices->addWidget(units_);
  choices->addStretch(1);
  layout->addLayout(choices);

  panels_ = new QStackedWidget;
  auto pair_panel = [this](QLineEdit*& width, QLineEdit*& height, const char* width_name,
                           const char* height_name, int digits, const QString& unit) {
    auto* page = new QWidget;
    auto* row = new QHBoxLayout(page);
    row->setContentsMargins(0, 0, 0, 0);
    width = Box(width_name, "宽：", digits);
    height = Box(height_name, "高：", digits);
    row->addWidget(PlainLabel("宽："));
    row->addWidget(width);
    if (!unit.isEmpty()) row->addWidget(PlainLabel(unit));
    row->addWidget(PlainLabel("高："));
    row->addWidget(height);
    if (!unit.isEmpty()) row->addWidget(PlainLabel(unit));
    row->addStretch(1);
    panels_->addWidget(page);
  };
  pair_panel(fixed_width_, fixed_height_, kCropWidthBox, "height_box", 4, "像素");
  pair_panel(percent_width_, percent_height_, "percent_width_box", "percent_height_box", 3, "%");
  pair_panel(ratio_width_, ratio_height_, kCropRatioWidthBox, kCropRatioHeightBox, 4, "");
  auto side_panel = [this](std::array<QLineEdit*, 4>& boxes, const char* prefix, int digits,
                           const QString& unit) {
    auto* page = new QWidget;
    auto* grid = new QGridLayout(page);
    grid->setContentsMargins(0, 0, 0, 0);
    const char* captions[] = {"左：", "右：", "上：", "下："};
    const char* names[] = {"left", "right", "top", "bottom"};
    for (int i = 0; i < 4; ++i) {
      const QString name = QString("%1%2_box").arg(prefix, names[i]);
      boxes[static_cast<std::size_t>(i)] = Box(name.toUtf8().constData(), captions[i], digits);
      grid->addWidget(PlainLabel(captions[i]), i / 2, (i % 2) * 3);
      grid->addWidget(boxes[static_cast<std::size_t>(i)], i / 2, (i % 2) * 3 + 1);
      grid->addWidget(PlainLabel(unit), i / 2, (i % 2) * 3 + 2);
    }
    grid->setColumnStretch(6, 1);
    panels_->addWidget(page);
  };
  // The shown panel's left box answers to kCropLeftBox (Control).
  side_panel(side_pixels_, "pixel_", 4, "像素");
  side_panel(side_percent_, "percent_", 3, "%");
  layout->addWidget(panels_);

  connect(mode_, &QComboBox::activated, this, [this] {
    FollowMode();
    RequestPreview();
    preview_->setFocus(Qt::OtherFocusReason);
  });
  connect(align_, &QComboBox::activated, this, [this] {
    RequestPreview();
    preview_->setFocus(Qt::OtherFocusReason);
  });
  for (QRadioButton* unit : {by_pixels_, by_percent_}) {
    connect(unit, &QRadioButton::clicked, this, [this] {
      FollowMode();
      RequestPreview();
      preview_->setFocus(Qt::OtherFocusReason);
    });
  }
  auto* help = NamedButton<QPushButton>("预览说明", "preview_help_button");
  help->setFlat(true);
  help->setCursor(Qt::PointingHandCursor);
  connect(help, &QPushButton::clicked, this, [this] {
    Tell(kCropPreviewHelpCaption, kCropPreviewHelpText, MessageIcon::kInformation);
  });
  layout->addWidget(help, 0, Qt::AlignRight);
  return group;
}

QWidget* CropWindow::BuildSaveGroup() {
  auto* group = new QGroupBox("保存");
  auto* layout = new QVBoxLayout(group);
  layout->addLayout(MakeSaveModeRow(to_folder_, overwrite_));
  output_row_ = MakeOutputRow("处理后保存到", "选择");
  layout->addWidget(output_row_);
  keep_format_ = NamedButton<QCheckBox>("图片格式保持不变", "keep_format_box");
  layout->addWidget(keep_format_);
  layout->addWidget(output_);
  layout->addLayout(MakeRunRow());

  to_folder_->setChecked(true);
  connect(to_folder_, &QRadioButton::clicked, this, [this] {
    FollowSaveMode();
    RequestPreview();
  });
  connect(overwrite_, &QRadioButton::clicked, this, &CropWindow::ChooseOverwrite);
  connect(keep_format_, &QCheckBox::clicked, this, [this] {
    FollowSaveMode();
    RequestPreview();
  });
  connect(output_, &OutputControls::Changed, this, [this] { RequestPreview(); });
  return group;
}

QStringList CropWindow::status() const {
  return {status_[0]->text(), status_[1]->text(), status_[2]->text()};
}

void CropWindow::SetStatus(const CropStatusTexts& status) {
  for (std::size_t i = 0; i < status.size(); ++i) {
    status_[i]->setText(QString::fromStdString(status[i]));
  }
}

QWidget* CropWindow::Control(std::string_view name) const {
  // The fixed and percentage panels share the width refusal, the two side panels the left one.
  if (name == kCropWidthBox) {
    return mode_->currentIndex() == kPercentPanel ? percent_width_ : fixed_width_;
  }
  if (name == kCropLeftBox) return by_percent_->isChecked() ? side_percent_[0] : side_pixels_[0];
  return ToolWindow::Control(name);
}

void CropWindow::FollowMode() {
  const int mode = mode_->currentIndex();
  const bool sides = mode == 3;
  align_->setVisible(!sides);
  units_->setVisible(sides);
  panels_->setCurrentIndex(sides ? (by_percent_->isChecked() ? kSidePercentPanel : kSidePixelPanel)
                                 : mode);
  mode_->setAccessibleName(mode_->currentText());
  align_->setAccessibleName(align_->currentText());
}

void CropWindow::FollowSaveMode() {
  const bool to_folder = !overwrite_->isChecked();
  output_row_->setVisible(to_folder);
  keep_format_->setVisible(to_folder);
  output_->setVisible(to_folder && !keep_format_->isChecked());
}

void CropWindow::ChooseOverwrite() {
  if (!output_row_->isVisible()) return;
  if (!dialogs_.AskOkCancel(this, "注意", kOverwriteQuestion, MessageIcon::kQuestion)) {
    to_folder_->setChecked(true);
  }
  FollowSaveMode();
  RequestPreview();
}

void CropWindow::ChooseOutput() {
  ToolWindow::ChooseOutput();
  preview_->setFocus(Qt::OtherFocusReason);
}

void CropWindow::SetSource(const fs::path& folder) {
  ToolWindow::SetSource(folder);
  RebuildPreviewList();
  preview_->setFocus(Qt::OtherFocusReason);
}

void CropWindow::TakeDrop(const std::vector<fs::path>& paths) {
  ToolDrop drop = TriageToolDrop(source_mode_->list_mode(), paths);
  if (drop.refusal) {
    Tell(drop.refusal->caption, drop.refusal->text, drop.refusal->icon);
    return;
  }
  if (drop.folder) {
    SetSource(*drop.folder);
    return;
  }
  AddPictures(drop.pictures);
}

void CropWindow::AddPictures(const std::vector<fs::path>& paths) {
  const bool was_empty = pictures_.empty();
  if (AddToPictureList(pictures_, paths) == 0) return;
  list_panel_->Show(pictures_);
  preview_list_ = pictures_;
  if (was_empty) {
    preview_index_ = 0;
    RequestPreview();
  }
}

void CropWindow::DeleteSelected() {
  const std::vector<int> rows = list_panel_->SelectedRows();
  if (rows.empty()) return;
  const PictureListDeletion deleted = DeleteFromPictureList(pictures_, rows, preview_index_);
  preview_index_ = deleted.current_index;
  list_panel_->Show(pictures_);
  list_panel_->Select(deleted.selected_row);
  preview_list_ = pictures_;
  if (deleted.current_removed) RequestPreview();
}

void CropWindow::ClearList() {
  pictures_.clear();
  list_panel_->Show(pictures_);
  preview_list_.clear();
  preview_index_ = 0;
  RequestPreview();
}

void CropWindow::RebuildPreviewList() {
  const CropJob job = JobFromControls();
  if (!job.settings.picture_list_source && job.include_sub_folders) {
    status_[2]->setText(kSearchingSubFoldersStatus);
    QApplication::setOverrideCursor(Qt::WaitCursor);
  }
  preview_list_ = CropPreviewList(job).paths;
  if (!job.settings.picture_list_source && job.include_sub_folders) {
    status_[2]->clear();
    QApplication::restoreOverrideCursor();
  }
  preview_index_ = 0;
  RequestPreview();
}

CropJob CropWindow::JobFromControls() const {
  CropJob job;
  CropToolSettings& settings = job.settings;
  settings.picture_list_source = source_mode_->list_mode();
  job.source_folder = source_folder();
  job.include_sub_folders = sub_folders()->isChecked();
  job.pictures = pictures_;
  job.save_mode = to_folder_->isChecked()   ? CropSaveMode::kToFolder
                  : overwrite_->isChecked() ? CropSaveMode::kOverwrite
                                            : CropSaveMode::kNone;
  job.output_folder = output_folder();
  job.keep_format = keep_format_->isChecked();
  job.keep_time = KeepFileTime();
  settings.load_format_option = formats_->mask();
  settings.mode = mode_->currentIndex();
  settings.align = align_->currentIndex();
  settings.fixed_width = NumberOf(fixed_width_);
  settings.fixed_height = NumberOf(fixed_height_);
  settings.percent_width = NumberOf(percent_width_);
  settings.percent_height = NumberOf(percent_height_);
  settings.ratio_width = NumberOf(ratio_width_);
  settings.ratio_height = NumberOf(ratio_height_);
  settings.side_in_percent = by_percent_->isChecked();
  settings.side_fixed_left = NumberOf(side_pixels_[0]);
  settings.side_fixed_right = NumberOf(side_pixels_[1]);
  settings.side_fixed_top = NumberOf(side_pixels_[2]);
  settings.side_fixed_bottom = NumberOf(side_pixels_[3]);
  settings.side_percent_left = NumberOf(side_percent_[0]);
  settings.side_percent_right = NumberOf(side_percent_[1]);
  settings.side_percent_top = NumberOf(side_percent_[2]);
  settings.side_percent_bottom = NumberOf(side_percent_[3]);
  output_->Store(settings);
  return job;
}

void CropWindow::RequestPreview(bool forward) {
  if (running()) return;
  if (preview_list_.empty()) {
    preview_requests_.Cancel();
    preview_->Clear();
    SetStatus(ReadyStatus());
    return;
  }
  CropStatusTexts shown{status_[0]->text().toStdString(), kPreviewBusyStatus,
                        status_[2]->text().toStdString()};
  SetStatus(shown);
  preview_requests_.Ask([this, job = JobFromControls(), list = preview_list_,
                         index = preview_index_, forward, shown] {
    CropPreview made = crop_maker_.Generate(job, list, index, forward, shown);
    return [this, image = ImageOfPixels(std::move(made.shown)), status = made.status,
            index = made.current_index, message = made.message] {
      ShowPreview(image, status, index, message);
    };
  });
}

void CropWindow::ShowPreview(const QImage& image, const CropStatusTexts& status, int index,
                             const std::optional<RunMessage>& message) {
  preview_index_ = index;
  SetStatus(status);
  if (image.isNull()) {
    preview_->Clear();
  } else {
    preview_->ReplaceImage(image);
  }
  if (message) Tell(message->caption, message->text, message->icon);
}

void CropWindow::StepPreview(bool forward) {
  if (preview_list_.size() < 2 || running()) return;
  preview_index_ =
      SteppedPreviewIndex(preview_index_, static_cast<int>(preview_list_.size()), forward);
  RequestPreview(forward);
}

void CropWindow::Present() { PresentMaximised(); }

void CropWindow::Closed() {
  preview_requests_.Cancel();  // a preview still being made is not shown
  preview_->Clear();
  preview_requests_.Run([this] {
    crop_maker_.Forget();
    ReleasePixelMemoryPool();
  });
}

void CropWindow::LoadSettings() {
  const auto settings = LoadToolSettings<CropToolSettings>(context_.store);
  pictures_.clear();
  list_panel_->Show(pictures_);
  keep_format_->setChecked(false);
  preview_->Clear();
  preview_->SetFit(false);
  preview_index_ = 0;
  SetStatus(ReadyStatus());

  formats_->Set(settings.load_format_option);
  mode_->setCurrentIndex(settings.mode);
  align_->setCurrentIndex(settings.align);
  (settings.side_in_percent ? by_percent_ : by_pixels_)->setChecked(true);
  fixed_width_->setText(NumberText(settings.fixed_width));
  fixed_height_->setText(NumberText(settings.fixed_height));
  percent_width_->setText(NumberText(settings.percent_width));
  percent_height_->setText(NumberText(settings.percent_height));
  ratio_width_->setText(NumberText(settings.ratio_width));
  ratio_height_->setText(NumberText(settings.ratio_height));
  const std::array<std::optional<int>, 4> pixels = {
      settings.side_fixed_left, settings.side_fixed_right, settings.side_fixed_top,
      settings.side_fixed_bottom};
  const std::array<std::optional<int>, 4> percent = {
      settings.side_percent_left, settings.side_percent_right, settings.side_percent_top,
      settings.side_percent_bottom};
  for (std::size_t i = 0; i < 4; ++i) {
    side_pixels_[i]->setText(NumberText(pixels[i]));
    side_percent_[i]->setText(NumberText(percent[i]));
  }
  for (QLineEdit* box : findChildren<QLineEdit*>()) MarkPreviewed(box);
  output_->Show(settings);
  FollowMode();
  FollowSaveMode();
  source_mode_->Show(settings.picture_list_source);
  preview_list_.clear();
}

std::optional<RunJob> CropWindow::PrepareRun() {
  const CropJob job = JobFromControls();
  RunList run_list;
  if (std::optional<Refusal> refusal = ValidateCropStart(job, run_list)) {
    ShowRefusal(*refusal);
    return std::nullopt;
  }
  WriteToolSettings(context_.store, job.settings);
  return [job, run_list](RunObserver& observer, const std::atomic<bool>& stop) {
    return RunCropJob(job, run_list, observer, stop);
  };
}

void CropWindow::AfterRun(const RunOutcome& outcome) {
  (void)outcome;
  // Each run needs a fresh save choice.
  TickSaveMode(to_folder_, false, overwrite_, false);
}

}  // namespace brindle
