#include "app/dialogs/save_mode_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/dialogs/dialogs.h"
#include "app/widgets/plain_widgets.h"
#include "window_rules/panel/save_mode.h"

namespace brindle {
namespace {

// One per mode, 0 to 2.
constexpr const char* kModeTexts[] = {
    "图片处理完成后，取消上次的选择，处理下一批图片前，需要重新选择。",
    "图片处理完成后，如果选择的是【处理后保存到】，将保持选中该选项。",
    "图片处理完成后，无论选择【处理后保存到】还是【直接覆盖原图】，保持当前的选择。"};

}  // namespace

SaveModeDialog::SaveModeDialog(PreferenceStore& store, Dialogs& dialogs, QWidget* parent)
    : QDialog(parent),
      store_(store),
      dialogs_(dialogs),
      modes_(new QButtonGroup(this)),
      default_overwrite_(NamedButton<QCheckBox>("软件启动后，默认选择【直接覆盖原图】",
                                                "default_overwrite", this)),
      overwrite_no_alert_(NamedButton<QCheckBox>("选择【直接覆盖原图】时，不再弹出确认提示对话框",
                                                 "overwrite_no_alert", this)) {
  setObjectName("save_mode_dialog");
  setWindowTitle("设置图片处理完成后, 下一次的保存模式");

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(24, 22, 24, 16);
  layout->setSpacing(12);
  for (int mode = 0; mode < 3; ++mode) {
    auto* radio =
        NamedButton<QRadioButton>(kModeTexts[mode], QString("save_mode_%1").arg(mode), this);
    modes_->addButton(radio, mode);
    layout->addWidget(radio);
  }
  // The flags sit under mode 2, the only mode that honours them.
  auto* flags = new QVBoxLayout;
  flags->setContentsMargins(24, 0, 0, 0);
  flags->setSpacing(8);
  flags->addWidget(default_overwrite_);
  flags->addWidget(overwrite_no_alert_);
  layout->addLayout(flags);
  layout->addSpacing(6);

  QLabel* warning = PlainLabel(
      "注意：【直接覆盖原图】可能会因操作失误造成损失，建议一般情况下不要选择该选项。", this);
  warning->setObjectName("save_mode_warning");
  QPalette red = warning->palette();
  red.setColor(QPalette::WindowText, Qt::red);
  warning->setPalette(red);
  layout->addWidget(warning);
  layout->addStretch(1);

  QPushButton* save = nullptr;
  QPushButton* cancel = nullptr;
  layout->addLayout(DialogButtons(this, "保存设置", "save_button", 96, save, cancel));

  const SaveModePreferences prefs = ReadSaveModePreferences(store_);
  default_overwrite_->setChecked(prefs.default_overwrite);
  overwrite_no_alert_->setChecked(prefs.overwrite_no_alert);
  modes_->button(prefs.mode)->setChecked(true);
  ShowMode(prefs.mode);

  connect(modes_, &QButtonGroup::idClicked, this, &SaveModeDialog::ModeClicked);
  connect(save, &QPushButton::clicked, this, &SaveModeDialog::Save);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

  setFixedSize(sizeHint().expandedTo(QSize(536, 310)));
  PlaceCentred(*this, 0);
}

void SaveModeDialog::ModeClicked(int clicked) {
  if (AsksBeforeSaveMode(mode_, clicked) &&
      !dialogs_.AskOkCancel(this, "注意", kKeepOverwriteQuestion, MessageIcon::kWarning)) {
    modes_->button(mode_)->setChecked(true);
    return;
  }
  ShowMode(clicked);
}

void SaveModeDialog::ShowMode(int mode) {
  mode_ = mode;
  default_overwrite_->setEnabled(SaveModeFlagsEnabled(mode));
  overwrite_no_alert_->setEnabled(SaveModeFlagsEnabled(mode));
}

void SaveModeDialog::Save() {
  WriteSaveModePreferences(
      store_, {mode_, default_overwrite_->isChecked(), overwrite_no_alert_->isChecked()});
  accept();
}

}  // namespace brindle
