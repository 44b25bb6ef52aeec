#include "app/tools/convert/convert_window.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/main/app_context.h"
#include "app/tools/common/load_format_boxes.h"
#include "app/tools/common/output_controls.h"
#include "app/widgets/plain_widgets.h"
#include "tools/common/tool_settings_store.h"
#include "tools/convert/convert_tool.h"

namespace brindle {

ConvertWindow::ConvertWindow(AppContext& context, Dialogs& dialogs, QWidget& main_window)
    : ToolWindow(context, dialogs, main_window, "Brindle图片批量格式转换工具", "开始转换"),
      formats_(new LoadFormatBoxes(true, "format_%1")),
      output_(new OutputControls("格式转换为：", /*web_formats=*/true)),
      keep_extension_(NamedButton<QCheckBox>("", "keep_extension_box")) {
  auto* source_group = new QGroupBox("源图片文件夹");
  auto* source_layout = new QVBoxLayout(source_group);
  source_layout->addWidget(MakeSourceRow("源图片文件夹"));
  auto* formats = new QHBoxLayout;
  QLabel* formats_label = PlainLabel("原格式：");
  formats_label->setObjectName(kLoadFormatLabel);
  formats->addWidget(formats_label);
  formats->addWidget(formats_, 1);
  source_layout->addLayout(formats);
  source_layout->addWidget(sub_folders());

  auto* output_group = new QGroupBox("格式转换后保存到");
  auto* output_layout = new QVBoxLayout(output_group);
  output_layout->addWidget(MakeOutputRow("格式转换后保存到"));
  output_layout->addWidget(output_);
  output_layout->addWidget(keep_extension_);
  output_layout->addLayout(MakeRunRow());

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

void ConvertWindow::LoadSettings() {
  const auto settings = LoadToolSettings<ConvertToolSettings>(context_.store);
  formats_->Set(settings.load_format_option);
  output_->Show(settings);
  keep_extension_->setChecked(settings.keep_extension);
  keep_extension_->setText(QString::fromStdString(KeepExtensionLabel(settings.format)));
  keep_extension_->setAccessibleName(keep_extension_->text());
}

std::optional<RunJob> ConvertWindow::PrepareRun() {
  ConvertJob job;
  job.source_folder = source_folder();
  job.include_sub_folders = sub_folders()->isChecked();
  job.output_folder = output_folder();
  job.keep_time = KeepFileTime();
  ConvertToolSettings& settings = job.settings;
  settings.load_format_option = formats_->mask();
  output_->Store(settings);
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
