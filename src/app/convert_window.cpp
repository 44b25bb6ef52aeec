#include "app/convert_window.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <utility>

#include "app/app_context.h"
#include "app/output_controls.h"
#include "app/plain_widgets.h"
#include "tools/convert_tool.h"
#include "tools/tool_settings_store.h"

namespace brindle {

namespace {

// The source format boxes, in the window's order.
constexpr std::pair<const char*, LoadFormatMask> kFormatBoxes[] = {
    {"jpg", kLoadJpg}, {"png", kLoadPng}, {"gif", kLoadGif},   {"bmp", kLoadBmp},
    {"psd", kLoadPsd}, {"tif", kLoadTif}, {"svg", kLoadSvg},   {"jfif", kLoadJfif},
    {"webp", kLoadWebp}, {"dng", kLoadDng}};

LoadFormatMask BoxBits() {
  LoadFormatMask bits = 0;
  for (const auto& [text, bit] : kFormatBoxes) bits |= bit;
  return bits;
}

}  // namespace

ConvertWindow::ConvertWindow(AppContext& context, Dialogs& dialogs, QWidget& main_window)
    : ToolWindow(context, dialogs, main_window, "Brindle图片批量格式转换工具", "开始转换"),
      output_(new OutputControls("格式转换为：")),
      keep_extension_(NamedButton<QCheckBox>("", "keep_extension_box")) {
  auto* source_group = new QGroupBox("源图片文件夹");
  auto* source_layout = new QVBoxLayout(source_group);
  source_layout->addWidget(MakeSourceRow("源图片文件夹"));
  auto* formats = new QHBoxLayout;
  QLabel* formats_label = PlainLabel("原格式：");
  formats_label->setObjectName(kLoadFormatLabel);
  formats->addWidget(formats_label);
  for (const auto& [text, bit] : kFormatBoxes) {
    auto* box = NamedButton<QCheckBox>(text, QString("format_%1").arg(text));
    format_boxes_.append(box);
    formats->addWidget(box);
  }
  formats->addStretch(1);
  source_layout->addLayout(formats);
  source_layout->addWidget(sub_folders());

  auto* output_group = new QGroupBox("格式转换后保存到");
  auto* output_layout = new QVBoxLayout(output_group);
  output_layout->addWidget(MakeOutputRow("格式转换后保存到"));
  output_layout->addWidget(output_);
  output_layout->addWidget(keep_extension_);
  auto* run_row = new QHBoxLayout;
  run_row->addWidget(progress_bar(), 1);
  run_row->addWidget(start_button());
  output_layout->addLayout(run_row);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(source_group);
  layout->addWidget(output_group);
  DisableWhileRunning(source_group);
  DisableWhileRunning(output_group);
  connect(output_, &OutputControls::FormatChanged, this, [this](ToolOutputFormat format) {
    keep_extension_->setText(QString::fromStdString(KeepExtensionLabel(format)));
    keep_extension_->setAccessibleName(keep_extension_->text());
  });
  setFixedSize(671, 339);
}

LoadFormatMask ConvertWindow::MaskInUse() const {
  LoadFormatMask mask = hidden_bits_;
  for (int i = 0; i < format_boxes_.size(); ++i) {
    if (format_boxes_[i]->isChecked()) mask |= kFormatBoxes[i].second;
  }
  return mask;
}

void ConvertWindow::LoadSettings() {
  const auto settings = LoadToolSettings<ConvertToolSettings>(context_.store);
  hidden_bits_ = settings.load_format_option & ~BoxBits();
  for (int i = 0; i < format_boxes_.size(); ++i) {
    format_boxes_[i]->setChecked((settings.load_format_option & kFormatBoxes[i].second) != 0);
  }
  output_->Set(settings.format, settings.quality, settings.transparent, settings.png8,
               settings.png8_color_count);
  keep_extension_->setChecked(settings.keep_extension);
  keep_extension_->setText(QString::fromStdString(KeepExtensionLabel(settings.format)));
  keep_extension_->setAccessibleName(keep_extension_->text());
}

std::optional<RunJob> ConvertWindow::PrepareRun() {
  ConvertJob job;
  job.source_folder = source_folder();
  job.include_sub_folders = sub_folders()->isChecked();
  job.output_folder = output_folder();
  ConvertToolSettings& settings = job.settings;
  settings.load_format_option = MaskInUse();
  settings.format = output_->format();
  settings.quality = output_->quality();
  settings.transparent = output_->transparent();
  settings.png8 = output_->png8();
  settings.png8_color_count = output_->colour_count();
  settings.keep_extension = keep_extension_->isChecked();
  if (std::optional<Refusal> refusal = ValidateConvertStart(job)) {
    ShowRefusal(*refusal);
    return std::nullopt;
  }
  WriteToolSettings(context_.store, settings);
  return [job](RunObserver& observer, const std::atomic<bool>& stop) {
    return RunConvertJob(job, observer, stop);
  };
}

}  // namespace brindle
