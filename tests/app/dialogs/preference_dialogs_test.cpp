// The save-mode and auto-fill dialogs driven as a user would, with what they store read back from
// the preference store.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <memory>

#include "app/app_test_main.h"
#include "app/dialogs/auto_fill_dialog.h"
#include "app/dialogs/save_mode_dialog.h"
#include "app/main/app_context.h"
#include "app/main/app_start.h"
#include "app/main/main_window.h"
#include "app/scripted_dialogs.h"
#include "prefs/auto_fill.h"
#include "prefs/preferences.h"
#include "support/test_support.h"

namespace brindle {
namespace {

namespace fs = std::filesystem;

using test::Find;

const QString kModeTwoQuestion =
    "直接覆盖原图，有可能因参数设置错误造成无法挽回的损失。\n\n确定要选择该选项吗？";

}  // namespace

class PreferenceDialogsTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    context_ = test::StartTestProgram(dialogs_);
    QVERIFY(context_);
  }

  void init() { dialogs_.Forget(); }

  void saveModeAsksBeforeMode2AndStoresOnlyOnSave() {
    PreferenceStore& store = context_->store;
    WritePreference(store, pref::kPicSaveMode, 0);
    auto dialog = std::make_unique<SaveModeDialog>(store, dialogs_);
    dialog->show();
    auto* mode0 = Find<QRadioButton>(*dialog, "save_mode_0");
    auto* mode2 = Find<QRadioButton>(*dialog, "save_mode_2");
    auto* start_overwriting = Find<QCheckBox>(*dialog, "default_overwrite");
    auto* no_alert = Find<QCheckBox>(*dialog, "overwrite_no_alert");
    QVERIFY(mode0->isChecked());
    QVERIFY(!start_overwriting->isEnabled() && !no_alert->isEnabled());

    dialogs_.yes_no = {false};
    QTest::mouseClick(mode2, Qt::LeftButton);
    QCOMPARE(dialogs_.asked, QStringList({kModeTwoQuestion}));
    QVERIFY(mode0->isChecked() && !mode2->isChecked());
    QVERIFY(!start_overwriting->isEnabled() && !no_alert->isEnabled());

    dialogs_.yes_no = {true};
    QTest::mouseClick(mode2, Qt::LeftButton);
    QVERIFY(mode2->isChecked());
    QVERIFY(start_overwriting->isEnabled() && no_alert->isEnabled());
    QTest::mouseClick(start_overwriting, Qt::LeftButton);
    QTest::mouseClick(no_alert, Qt::LeftButton);
    QCOMPARE(ReadPreference(store, pref::kPicSaveMode), 0);  // nothing stored before saving
    QTest::mouseClick(Find<QPushButton>(*dialog, "save_button"), Qt::LeftButton);
    QCOMPARE(dialog->result(), int(QDialog::Accepted));
    QCOMPARE(ReadPreference(store, pref::kPicSaveMode), 2);
    QCOMPARE(ReadPreference(store, pref::kPicSaveDefaultSelectOverwrite), 1);
    QCOMPARE(ReadPreference(store, pref::kPicSaveSelectOverwriteNoAlert), 1);

    // Reopened it shows what was stored; leaving mode 2 asks nothing, and "取消" keeps the store.
    dialog = std::make_unique<SaveModeDialog>(store, dialogs_);
    dialog->show();
    QVERIFY(Find<QRadioButton>(*dialog, "save_mode_2")->isChecked());
    QVERIFY(Find<QCheckBox>(*dialog, "default_overwrite")->isChecked());
    dialogs_.asked.clear();
    QTest::mouseClick(Find<QRadioButton>(*dialog, "save_mode_1"), Qt::LeftButton);
    QVERIFY(dialogs_.asked.isEmpty());
    QVERIFY(!Find<QCheckBox>(*dialog, "overwrite_no_alert")->isEnabled());
    QTest::mouseClick(Find<QPushButton>(*dialog, "cancel_button"), Qt::LeftButton);
    QCOMPARE(dialog->result(), int(QDialog::Rejected));
    QCOMPARE(ReadPreference(store, pref::kPicSaveMode), 2);
  }

  void autoFillClearsAtOnceAndStoresCountsOnlyOnOk() {
    PreferenceStore& store = context_->store;
    WritePreference(store, pref::kShowSyTextMaxCount, 5);
    WritePreference(store, pref::kUsedSyTextRecord, "Brindle 水印\r样张");
    const fs::path kept = fs::path(QDir::homePath().toStdString()) / "logo.png";
    test::WriteFile(kept, "png");
    WritePreference(store, pref::kUsedSyImageRecord, "/nowhere/gone.png\r" + kept.string());

    auto dialog = std::make_unique<AutoFillDialog>(store, dialogs_);
    dialog->show();
    auto* texts = Find<QComboBox>(*dialog, "text_count");
    auto* pictures = Find<QComboBox>(*dialog, "image_count");
    auto* hide = Find<QCheckBox>(*dialog, "hide_missing_pictures");
    QCOMPARE(texts->count(), 21);
    QCOMPARE(texts->currentText(), QString("5"));
    QCOMPARE(pictures->currentText(), QString("10"));
    QVERIFY(hide->isChecked());

    dialogs_.yes_no = {false, true};
    auto* clear = Find<QPushButton>(*dialog, "clear_texts");
    QTest::mouseClick(clear, Qt::LeftButton);
    QCOMPARE(ReadPreference(store, pref::kUsedSyTextRecord), std::string("Brindle 水印\r样张"));
    QVERIFY(dialogs_.told.isEmpty());
    QTest::mouseClick(clear, Qt::LeftButton);
    QCOMPARE(dialogs_.asked, QStringList({kClearTextHistoryQuestion, kClearTextHistoryQuestion}));
    QCOMPARE(dialogs_.told, QStringList({"提示 | 已清空"}));
    QCOMPARE(ReadPreference(store, pref::kUsedSyTextRecord), std::string());

    dialogs_.told.clear();
    QTest::mouseClick(Find<QPushButton>(*dialog, "delete_missing"), Qt::LeftButton);
    QCOMPARE(dialogs_.told, QStringList({"提示 | 共删除 1 条记录"}));
    QCOMPARE(ReadPreference(store, pref::kUsedSyImageRecord), kept.string());

    // "取消" keeps the stored counts even after the clearing above.
    texts->setCurrentIndex(3);
    hide->setChecked(false);
    QTest::mouseClick(Find<QPushButton>(*dialog, "cancel_button"), Qt::LeftButton);
    QCOMPARE(ReadPreference(store, pref::kShowSyTextMaxCount), 5);
    QCOMPARE(ReadPreference(store, pref::kHideNoExistsSyImageRecord), 1);

    dialog = std::make_unique<AutoFillDialog>(store, dialogs_);
    dialog->show();
    Find<QComboBox>(*dialog, "text_count")->setCurrentIndex(20);
    Find<QComboBox>(*dialog, "image_count")->setCurrentIndex(0);
    Find<QCheckBox>(*dialog, "hide_missing_pictures")->setChecked(false);
    QTest::mouseClick(Find<QPushButton>(*dialog, "ok_button"), Qt::LeftButton);
    QCOMPARE(dialog->result(), int(QDialog::Accepted));
    QCOMPARE(ReadPreference(store, pref::kShowSyTextMaxCount), 20);
    QCOMPARE(ReadPreference(store, pref::kShowSyImageMaxCount), 0);
    QCOMPARE(ReadPreference(store, pref::kHideNoExistsSyImageRecord), 0);
  }

  void settingsMenuOpensBothDialogsModally() {
    MainWindow window(*context_, dialogs_);
    std::unique_ptr<QMenu> menu(window.BuildSettingsMenu());
    QStringList opened;
    for (QAction* act : menu->actions()) {
      if (act->text() != "设置图片处理完成后, 下一次的保存模式..." &&
          act->text() != "自动填充设置...") {
        continue;
      }
      QVERIFY(act->isEnabled());
      QTimer::singleShot(0, this, [&opened] {
        QWidget* modal = QApplication::activeModalWidget();
        opened << (modal ? modal->windowTitle() : QString());
        if (modal) Find<QPushButton>(*modal, "cancel_button")->click();
      });
      act->trigger();
    }
    QCOMPARE(opened, QStringList({"设置图片处理完成后, 下一次的保存模式", "自动填充设置"}));
  }

 private:
  test::ScriptedDialogs dialogs_;
  std::optional<AppContext> context_;
};

}  // namespace brindle

int main(int argc, char** argv) {
  return brindle::test::RunAppTest<brindle::PreferenceDialogsTest>(argc, argv);
}

#include "preference_dialogs_test.moc"
