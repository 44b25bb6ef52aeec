#include "app/tools/join/join_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QVBoxLayout>
#include <utility>

#include "app/dialogs/dialogs.h"
#include "app/main/app_context.h"
#include "app/tools/common/load_format_boxes.h"
#include "app/tools/common/output_controls.h"
#include "app/tools/common/picture_list_panel.h"
#include "app/tools/common/source_mode_choice.h"
#include "app/widgets/box_refresh.h"
#include "app/widgets/digits_box.h"
#include "app/widgets/picture_pane.h"
#include "app/widgets/plain_widgets.h"
#include "base/info_log.h"
#include "base/maker_web_site.h"
#include "tools/common/tool_settings_store.h"
#include "tools/common/tool_source.h"
#include "tools/join/join_groups.h"
#include "window_rules/tools/common/tool_picture_list.h"

namespace brindle {

namespace fs = std::filesystem;

namespace {

constexpr const char* kWidthPolicies[] = {"使用每组第一张图片的宽度", "使用每组最宽的一张图片宽度",
                                          "使用每组最窄的一张图片宽度", "自定义宽度："};
constexpr const char* kHeightPolicies[] = {"使用每组第一张图片的高度", "使用每组最高的一张图片高度",
                                           "使用每组最矮的一张图片高度", "自定义高度："};

}  // namespace

JoinWindow::JoinWindow(AppContext& context, Dialogs& dialogs, QWidget& main_window)
    : ToolWindow(context, dialogs, main_window, "Brindle图片批量拼接工具", "开始拼接"),
      preview_(Named(new PicturePane, "join_preview", "拼接预览")),
      output_(new OutputControls("格式：")) {
  set_refuse_root(false);
  const std::vector<QLabel*> status =
      LayOutBesidePreview(preview_, 2, {BuildSourceGroup(), BuildJoinGroup(), BuildSaveGroup()});
  status_ = status[0];
  status_detail_ = status[1];
  setMinimumHeight(610);
}

QWidget* JoinWindow::BuildSourceGroup() {
  auto* group = new QGroupBox("源图片");
  auto* layout = new QVBoxLayout(group);
  close_preview_ = NamedButton<QCheckBox>("关闭预览", "close_preview_box");
  connect(close_preview_, &QCheckBox::clicked, this, [this] { RequestPreview(); });

  auto* folder_panel = new QWidget;
  auto* folder_layout = new QVBoxLayout(folder_panel);
  folder_layout->setContentsMargins(0, 0, 0, 0);
  folder_layout->addWidget(MakeSourceRow("源图片文件夹", "选择"));
  formats_ = new LoadFormatBoxes(false, "load_format_%1");
  connect(formats_, &LoadFormatBoxes::Clicked, this, &JoinWindow::RebuildGroups);
  folder_layout->addWidget(formats_);

  list_panel_ = new PictureListPanel(kJoinAddButton);
  source_mode_ = new SourceModeChoice(folder_panel, list_panel_, close_preview_);
  connect(source_mode_, &SourceModeChoice::Chosen, this, [this](bool list_mode) {
    if (!list_mode) current_group_ = 0;
    RequestPreview();
    preview_->setFocus(Qt::OtherFocusReason);
  });
  layout->addWidget(source_mode_);
  connect(list_panel_, &PictureListPanel::AddClicked, this, [this] {
    AppendPictures(ChoosePictures());
    preview_->setFocus(Qt::OtherFocusReason);
  });
  connect(list_panel_, &PictureListPanel::DeleteClicked, this, &JoinWindow::DeleteSelected);
  connect(list_panel_, &PictureListPanel::ClearClicked, this, [this] {
    pictures_.clear();
    list_panel_->Show(pictures_);
    RequestPreview();
  });
  return group;
}

QWidget* JoinWindow::BuildJoinGroup() {
  auto* group = new QGroupBox("拼接");
  auto* layout = new QVBoxLayout(group);
  vertical_ = NamedButton<QRadioButton>("竖排", "vertical_option");
  horizontal_ = NamedButton<QRadioButton>("横排", "horizontal_option");
  layout->addLayout(LeftRow({vertical_, horizontal_}));
  for (QRadioButton* radio : {vertical_, horizontal_}) {
    connect(radio, &QRadioButton::clicked, this, [this] {
      FollowLayout();
      RequestPreview();
    });
  }

  policy_label_ = PlainLabel("图片宽：");
  policy_ = Named(new QComboBox, "policy_list", "图片宽：");
  custom_length_ = DigitsBox(kJoinCustomLengthBox, "自定义宽度：", 4);
  auto* policy_row = new QHBoxLayout;
  policy_row->addWidget(policy_label_);
  policy_row->addWidget(policy_, 1);
  policy_row->addWidget(custom_length_);
  layout->addLayout(policy_row);
  connect(policy_, &QComboBox::activated, this, &JoinWindow::ChoosePolicy);
  RefreshOnEnterOrChange(custom_length_, [this] { RequestPreview(); });

  space_ = Named(new QSlider(Qt::Horizontal), "space_slider", "图片间距：");
  space_->setRange(0, 128);
  space_label_ = PlainLabel("0");
  space_label_->setMinimumWidth(space_label_->fontMetrics().horizontalAdvance("128") + 4);
  auto* space_row = new QHBoxLayout;
  space_row->addWidget(PlainLabel("图片间距："));
  space_row->addWidget(space_, 1);
  space_row->addWidget(space_label_);
  layout->addLayout(space_row);
  connect(space_, &QSlider::valueChanged, this,
          [this](int value) { space_label_->setText(QString::number(value)); });
  connect(space_, &QSlider::sliderReleased, this, [this] { RequestPreview(); });
  return group;
}

QWidget* JoinWindow::BuildSaveGroup() {
  auto* group = new QGroupBox("图片拼接后保存到：");
  auto* layout = new QVBoxLayout(group);
  layout->addWidget(MakeOutputRow("图片拼接后保存到：", "选择"));
  layout->addWidget(output_);
  layout->addLayout(MakeRunRow());
  auto* usage = NamedButton<QPushButton>("使用说明", "usage_button");
  usage->setFlat(true);
  usage->setCursor(Qt::PointingHandCursor);
  connect(usage, &QPushButton::clicked, this,
          [this] { dialogs_.OpenInDesktop(QString("https://%1/").arg(kMakerWebSiteHost)); });
  layout->addWidget(usage, 0, Qt::AlignRight);
  connect(output_, &OutputControls::Changed, this, [this] { RequestPreview(); });
  return group;
}

QStringList JoinWindow::status() const { return {status_->text(), status_detail_->text()}; }

void JoinWindow::FollowLayout() {
  const bool across = horizontal_->isChecked();
  const int index = policy_->currentIndex();
  policy_->clear();
  for (const char* text : across ? kHeightPolicies : kWidthPolicies) policy_->addItem(text);
  policy_->setCurrentIndex(index < 0 ? 0 : index);
  policy_label_->setText(across ? "图片高：" : "图片宽：");
  policy_->setAccessibleName(policy_label_->text());
  custom_length_->setAccessibleName(across ? "自定义高度：" : "自定义宽度：");
  custom_length_->setVisible(policy_->currentIndex() == 3);
}

void JoinWindow::ChoosePolicy(int index) {
  custom_length_->setVisible(index == 3);
  if (index != 3) {
    RequestPreview();
    return;
  }
  custom_length_->setFocus(Qt::OtherFocusReason);
  if (custom_length_->text().toInt() > 0) RequestPreview();
}

bool JoinWindow::TakeChosenSource(const fs::path& folder) {
  return TakeSource(folder, NothingToJoinMessage(folder));
}

bool JoinWindow::TakeSource(const fs::path& folder, const RunMessage& refusal) {
  std::vector<fs::path> groups =
      ListJoinGroups(folder, JoinLoadFormats(JobFromControls().settings)).groups;
  if (groups.empty()) {
    Tell(refusal.caption, refusal.text, refusal.icon);
    return false;
  }
  SetSource(folder);
  groups_ = std::move(groups);
  current_group_ = 0;
  RequestPreview();
  preview_->setFocus(Qt::OtherFocusReason);
  return true;
}

void JoinWindow::TakeDrop(const std::vector<fs::path>& paths) {
  ToolDrop drop = TriageToolDrop(source_mode_->list_mode(), paths);
  if (drop.refusal) {
    Tell(drop.refusal->caption, drop.refusal->text, drop.refusal->icon);
  } else if (drop.folder) {
    TakeSource(*drop.folder, {FormatMessage("文件夹 %s 中没有可拼接的图片。", drop.folder->c_str()),
                              "提示", MessageIcon::kWarning});
  } else {
    AppendPictures(drop.pictures);
  }
}

void JoinWindow::RebuildGroups() {
  if (source_box()->text().isEmpty()) return;
  std::vector<fs::path> groups =
      ListJoinGroups(source_folder(), JoinLoadFormats(JobFromControls().settings)).groups;
  // A mask that leaves nothing to join keeps the groups shown.
  if (groups.empty()) return;
  groups_ = std::move(groups);
  current_group_ = 0;
  RequestPreview();
}

void JoinWindow::AppendPictures(const std::vector<fs::path>& paths) {
  // A join may use a picture twice: the list takes every path as given.
  pictures_.insert(pictures_.end(), paths.begin(), paths.end());
  list_panel_->Show(pictures_);
  RequestPreview();
}

void JoinWindow::DeleteSelected() {
  const std::vector<int> rows = list_panel_->SelectedRows();
  if (rows.empty()) return;
  const PictureListDeletion deleted = DeleteFromPictureList(pictures_, rows, 0);
  list_panel_->Show(pictures_);
  list_panel_->Select(deleted.selected_row);
  RequestPreview();
}

JoinJob JoinWindow::JobFromControls() const {
  JoinJob job;
  job.source_folder = source_folder();
  job.pictures = pictures_;
  job.output_folder = output_folder();
  JoinToolSettings& settings = job.settings;
  settings.picture_list_source = source_mode_->list_mode();
  settings.load_format_option = formats_->mask();
  settings.close_preview = close_preview_->isChecked();
  settings.layout = horizontal_->isChecked() ? JoinLayout::kHorizontal : JoinLayout::kVertical;
  settings.side_policy = static_cast<JoinSidePolicy>(std::max(0, policy_->currentIndex()));
  settings.custom_length = NumberOf(custom_length_);
  settings.space = space_->value();
  output_->Store(settings);
  return job;
}

void JoinWindow::RequestPreview(JoinPreviewSearch search) {
  if (running()) return;
  const JoinJob job = JobFromControls();
  const bool list_mode = job.settings.picture_list_source;
  if (list_mode ? pictures_.size() < 2 : groups_.empty()) {
    preview_requests_.Cancel();
    preview_->Clear();
    status_->setText(kPreviewReadyStatus);
    status_detail_->clear();
    return;
  }
  status_->setText(kPreviewBusyStatus);
  JoinPreviewRequest request;
  request.settings = job.settings;
  request.groups = groups_;
  request.pictures = pictures_;
  request.current_group = current_group_;
  request.search = search;
  preview_requests_.Ask([this, request] {
    JoinPreview made = MakeJoinPreview(request);
    QImage image;
    if (!made.display_jpeg.empty()) {
      image.loadFromData(reinterpret_cast<const uchar*>(made.display_jpeg.data()),
                         static_cast<int>(made.display_jpeg.size()), "JPEG");
    }
    return [this, image, status = QString::fromStdString(made.status),
            detail = QString::fromStdString(made.status_detail), group = made.current_group,
            messages = made.messages] { ShowPreview(image, status, detail, group, messages); };
  });
}

void JoinWindow::ShowPreview(const QImage& image, const QString& status, const QString& detail,
                             int group, const std::vector<RunMessage>& messages) {
  current_group_ = group;
  status_->setText(status);
  status_detail_->setText(detail);
  if (image.isNull()) {
    preview_->Clear();
  } else {
    preview_->ReplaceImage(image);
  }
  for (const RunMessage& message : messages) Tell(message.caption, message.text, message.icon);
}

void JoinWindow::StepPreview(bool forward) {
  if (source_mode_->list_mode() || close_preview_->isChecked() || groups_.size() < 2 || running()) {
    return;
  }
  current_group_ = SteppedPreviewIndex(current_group_, static_cast<int>(groups_.size()), forward);
  RequestPreview(forward ? JoinPreviewSearch::kForward : JoinPreviewSearch::kBackward);
}

void JoinWindow::Present() { PresentMaximised(); }

void JoinWindow::Closed() {
  preview_requests_.Cancel();  // a preview still being made is not shown
  preview_->Clear();
}

void JoinWindow::LoadSettings() {
  const auto settings = LoadToolSettings<JoinToolSettings>(context_.store);
  pictures_.clear();
  list_panel_->Show(pictures_);
  groups_.clear();
  current_group_ = 0;
  preview_->Clear();
  preview_->SetFit(false);
  status_->setText(kPreviewReadyStatus);
  status_detail_->clear();

  source_mode_->Show(settings.picture_list_source);
  formats_->Set(settings.load_format_option);
  close_preview_->setChecked(settings.close_preview);
  (settings.layout == JoinLayout::kHorizontal ? horizontal_ : vertical_)->setChecked(true);
  policy_->setCurrentIndex(-1);
  FollowLayout();
  policy_->setCurrentIndex(static_cast<int>(settings.side_policy));
  custom_length_->setVisible(settings.side_policy == JoinSidePolicy::kCustom);
  custom_length_->setText(NumberText(settings.custom_length));
  MarkPreviewed(custom_length_);
  space_->setValue(settings.space);
  output_->Show(settings);
}

std::optional<RunJob> JoinWindow::PrepareRun() {
  const JoinJob job = JobFromControls();
  if (std::optional<Refusal> refusal = ValidateJoinStart(job)) {
    ShowRefusal(*refusal);
    return std::nullopt;
  }
  WriteToolSettings(context_.store, job.settings);
  return [job](RunObserver& observer, const std::atomic<bool>& stop) {
    return RunJoinJob(job, observer, stop);
  };
}

}  // namespace brindle
