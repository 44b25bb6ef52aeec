#include "app/tools/slice/slice_window.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/main/app_context.h"
#include "app/tools/common/load_format_boxes.h"
#include "app/tools/common/output_controls.h"
#include "app/widgets/digits_box.h"
#include "app/widgets/plain_widgets.h"
#include "tools/common/tool_settings_store.h"
#include "tools/slice/slice_tool.h"
#include "window_rules/tools/slice/slice_direction_controls.h"

namespace brindle {

SliceWindow::SliceWindow(AppContext& context, Dialogs& dialogs, QWidget& main_window)
    : ToolWindow(context, dialogs, main_window, "Brindle图片批量切片工具", "开始处理"),
      rows_(MakeDirection("水平划分为", kHorizontalBox, kHorizontalAvgValueBox,
                          kHorizontalPixelValueBox, "个纵向切片，均匀分隔")),
      columns_(MakeDirection("垂直划分为", kVerticalBox, kVerticalAvgValueBox,
                             kVerticalPixelValueBox, "个横向切片，均匀分隔")),
      sub_folder_per_picture_(NamedButton<QCheckBox>("切片保存到以文件名命名的子文件夹里",
                                                     "sub_folder_per_picture_box")),
      output_(new OutputControls("格式：")),
      html_(NamedButton<QCheckBox>("生成HTML代码", "html_box")) {
  auto* source_group = new QGroupBox("源图片文件夹");
  auto* source_layout = new QVBoxLayout(source_group);
  source_layout->addWidget(MakeSourceRow("源图片文件夹"));
  formats_ = new LoadFormatBoxes(false, "load_%1_box");
  source_layout->addWidget(formats_);
  source_layout->addWidget(sub_folders());

  auto* output_group = new QGroupBox("处理后保存到");
  auto* output_layout = new QVBoxLayout(output_group);
  output_layout->addWidget(MakeOutputRow("处理后保存到"));
  output_layout->addWidget(sub_folder_per_picture_);
  output_layout->addWidget(output_);
  output_layout->addWidget(html_);
  output_layout->addLayout(MakeRunRow());

  auto* directions = new QHBoxLayout;
  directions->addWidget(rows_.group);
  directions->addWidget(columns_.group);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(source_group);
  layout->addLayout(directions);
  layout->addWidget(output_group);
  for (QWidget* group :
       {static_cast<QWidget*>(source_group), static_cast<QWidget*>(rows_.group),
        static_cast<QWidget*>(columns_.group), static_cast<QWidget*>(output_group)}) {
    DisableWhileRunning(group);
  }
  setFixedSize(601, 463);
}

SliceWindow::Direction SliceWindow::MakeDirection(const QString& title, const char* group_name,
                                                  const char* count_name, const char* pixel_name,
                                                  const QString& count_text) {
  Direction direction;
  direction.group = Named(new QGroupBox(title), group_name, title);
  direction.group->setCheckable(true);
  direction.count_radio = Named(new QRadioButton, QString(count_name) + "_radio", count_text);
  direction.count_box = DigitsBox(count_name, count_text, 3);
  direction.pixel_radio = Named(new QRadioButton, QString(pixel_name) + "_radio", "像素/切片");
  direction.pixel_box = DigitsBox(pixel_name, "像素/切片", 4);
  auto* radios = new QButtonGroup(direction.group);
  radios->addButton(direction.count_radio);
  radios->addButton(direction.pixel_radio);
  auto* grid = new QGridLayout(direction.group);
  grid->addWidget(direction.count_radio, 0, 0);
  grid->addWidget(direction.count_box, 0, 1);
  grid->addWidget(PlainLabel(count_text), 0, 2);
  grid->addWidget(direction.pixel_radio, 1, 0);
  grid->addWidget(direction.pixel_box, 1, 1);
  grid->addWidget(PlainLabel("像素/切片"), 1, 2);
  grid->setColumnStretch(3, 1);
  // Any click on the heading or a radio applies the rule again and moves the focus.
  const Direction shown = direction;
  connect(direction.group, &QGroupBox::clicked, this, [this, shown] { Follow(shown, true); });
  for (QRadioButton* radio : {direction.count_radio, direction.pixel_radio}) {
    connect(radio, &QRadioButton::clicked, this, [this, shown] { Follow(shown, true); });
  }
  return direction;
}

void SliceWindow::Follow(const Direction& direction, bool take_focus) {
  const SliceDirectionControls controls =
      SliceDirectionControlsOf(direction.group->isChecked(), direction.count_radio->isChecked(),
                               direction.pixel_radio->isChecked());
  direction.count_radio->setEnabled(controls.radios);
  direction.pixel_radio->setEnabled(controls.radios);
  direction.count_box->setEnabled(controls.count_box);
  direction.pixel_box->setEnabled(controls.pixel_box);
  if (!take_focus || controls.focus == 0) return;
  QLineEdit* box = controls.focus == 1 ? direction.count_box : direction.pixel_box;
  box->setFocus(Qt::OtherFocusReason);
  box->selectAll();
}

void SliceWindow::LoadSettings() {
  auto settings = LoadToolSettings<SliceToolSettings>(context_.store);
  SettleSliceRadios(settings);
  formats_->Set(settings.load_format_option);
  rows_.group->setChecked(settings.horizontal);
  rows_.count_radio->setChecked(settings.horizontal_avg);
  rows_.pixel_radio->setChecked(settings.horizontal_pixel);
  rows_.count_box->setText(NumberText(settings.horizontal_avg_value));
  rows_.pixel_box->setText(NumberText(settings.horizontal_pixel_value));
  columns_.group->setChecked(settings.vertical);
  columns_.count_radio->setChecked(settings.vertical_avg);
  columns_.pixel_radio->setChecked(settings.vertical_pixel);
  columns_.count_box->setText(NumberText(settings.vertical_avg_value));
  columns_.pixel_box->setText(NumberText(settings.vertical_pixel_value));
  Follow(rows_, false);
  Follow(columns_, false);
  sub_folder_per_picture_->setChecked(settings.save_subfolder_by_file_name);
  output_->Show(settings);
  html_->setChecked(settings.save_html);
}

std::optional<RunJob> SliceWindow::PrepareRun() {
  SliceJob job;
  job.source_folder = source_folder();
  job.include_sub_folders = sub_folders()->isChecked();
  job.output_folder = output_folder();
  SliceToolSettings& settings = job.settings;
  settings.load_format_option = formats_->mask();
  settings.horizontal = rows_.group->isChecked();
  settings.horizontal_avg = rows_.count_radio->isChecked();
  settings.horizontal_avg_value = NumberOf(rows_.count_box);
  settings.horizontal_pixel = rows_.pixel_radio->isChecked();
  settings.horizontal_pixel_value = NumberOf(rows_.pixel_box);
  settings.vertical = columns_.group->isChecked();
  settings.vertical_avg = columns_.count_radio->isChecked();
  settings.vertical_avg_value = NumberOf(columns_.count_box);
  settings.vertical_pixel = columns_.pixel_radio->isChecked();
  settings.vertical_pixel_value = NumberOf(columns_.pixel_box);
  settings.save_subfolder_by_file_name = sub_folder_per_picture_->isChecked();
  output_->Store(settings);
  settings.save_html = html_->isChecked();
  const std::vector<Refusal> refusals = ValidateSliceStart(job);
  if (!refusals.empty()) {
    for (const Refusal& refusal : refusals) ShowRefusal(refusal);
    return std::nullopt;
  }
  WriteToolSettings(context_.store, settings);
  return [job](RunObserver& observer, const std::atomic<bool>& stop) {
    return RunSliceJob(job, observer, stop);
  };
}

}  // namespace brindle
