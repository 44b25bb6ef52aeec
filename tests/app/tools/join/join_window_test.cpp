// The join window driven as a user would: the preview of each group of a folder, the placeholder,
// a long join, the JPEG limit and a list too short to start.
#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <filesystem>

#include "app/app_test_main.h"
#include "app/dialogs/balloon_hints.h"
#include "app/main/app_context.h"
#include "app/main/main_window.h"
#include "app/scripted_dialogs.h"
#include "app/tools/join/join_window.h"
#include "app/user_input.h"
#include "app/widgets/picture_pane.h"
#include "support/test_support.h"

namespace brindle {
namespace {

namespace fs = std::filesystem;

using test::Find;

}  // namespace

class JoinWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    context_ = test::StartTestProgram(dialogs_);
    QVERIFY(context_);
    context_->store.WriteNumber("", "join_source_type", 0);
    context_->store.WriteNumber("", "join_layout", 1);
    main_ = std::make_unique<MainWindow>(*context_, dialogs_);
    main_->action("join_tool")->trigger();
    window_ = main_->join_window();
    QVERIFY(QTest::qWaitForWindowExposed(window_));
  }

  void init() {
    dialogs_.told.clear();
    window_->balloons().DismissAll();
  }

  void eachGroupIsPreviewedAndTheArrowsStepBetweenThem() {
    QCOMPARE(window_->windowTitle(), QString("Brindle图片批量拼接工具"));
    QCOMPARE(window_->status(), QStringList({"就绪...", ""}));
    const fs::path source = folder_.path() / "trip";
    for (const char* day : {"day1", "day2"}) {
      fs::create_directories(source / day);
      test::WritePicture(source / day / "a.jpg", 200, 100, "JPEG");
      test::WritePicture(source / day / "b.jpg", 400, 100, "JPEG");
    }
    window_->TakeDrop({source});
    QTRY_VERIFY(!window_->preview_pending());
    QCOMPARE(window_->status()[0], QString("图片尺寸: 200 x 150"));
    const QString first = window_->status()[1];
    QVERIFY(first == QString::fromStdString("文件夹: " + (source / "day1").string()) ||
            first == QString::fromStdString("文件夹: " + (source / "day2").string()));
    QTest::keyClick(&window_->preview(), Qt::Key_Right);
    QTRY_VERIFY(!window_->preview_pending());
    QVERIFY(window_->status()[1].startsWith("文件夹: "));
    QVERIFY(window_->status()[1] != first);

    auto* close_preview = Find<QCheckBox>(*window_, "close_preview_box");
    test::ClickButton(close_preview);
    QTRY_VERIFY(!window_->preview_pending());
    QCOMPARE(window_->preview().image().size(), QSize(279, 75));
    test::ClickButton(close_preview);
  }

  void thirtyTallPicturesAreShownAsOneLongPicture() {
    const fs::path source = folder_.path() / "tall";
    fs::create_directories(source);
    test::WritePicture(source / "p00.jpg", 1000, 1500, "JPEG");
    for (int i = 1; i < 30; ++i) {
      fs::copy_file(source / "p00.jpg", source / ("p" + std::to_string(i + 10) + ".jpg"));
    }
    window_->TakeDrop({source});
    QTRY_VERIFY_WITH_TIMEOUT(!window_->preview_pending(), 60000);
    QCOMPARE(window_->status()[0], QString("图片尺寸: 1000 x 45000"));
    QCOMPARE(window_->preview().image().size(), QSize(1000, 45000));
    QVERIFY(dialogs_.told.isEmpty());
  }

  void theListIsRefusedBelowTwoAndAJpegPastTheLimitIsNotShown() {
    test::ClickButton(Find<QRadioButton>(*window_, "list_mode_option"));
    const fs::path pictures = folder_.path() / "strips";
    fs::create_directories(pictures);
    test::WritePicture(pictures / "a.png", 8, 40000, "PNG");
    test::WritePicture(pictures / "b.png", 8, 40000, "PNG");
    window_->TakeDrop({pictures / "a.png"});
    test::ClickButton(window_->start_button());
    QCOMPARE(window_->balloons().open_texts(), QStringList({"请先添加图片 | 图片数量不能少于2张"}));

    window_->TakeDrop({pictures / "b.png"});
    QTRY_VERIFY_WITH_TIMEOUT(!window_->preview_pending(), 60000);
    QCOMPARE(dialogs_.told.size(), 1);
    QVERIFY2(dialogs_.told.front().startsWith("错误 | 预览失败:\n\n拼接后的图片高度: 80000 像素"),
             qPrintable(dialogs_.told.front()));
  }

  // The hand-made list takes clicks and keys: ctrl-click, shift-click, the arrows, Delete.
  void theListIsSelectedAndEmptiedWithThePointerAndTheKeys() {
    QVERIFY(test::ActivateWindow(*window_));
    test::ClickButton(Find<QRadioButton>(*window_, "list_mode_option"));
    auto* clear = Find<QPushButton>(*window_, "clear_button");
    if (clear->isEnabled()) test::ClickButton(clear);
    const fs::path pictures = folder_.path() / "small";
    fs::create_directories(pictures);
    for (const char* name : {"a.png", "b.png", "c.png", "d.png"}) {
      test::WritePicture(pictures / name, 20, 10, "PNG");
    }
    window_->TakeDrop({pictures / "a.png", pictures / "b.png", pictures / "c.png",
                       pictures / "d.png"});
    auto* list = Find<QListWidget>(*window_, "picture_list");
    auto* delete_button = Find<QPushButton>(*window_, "delete_button");
    QCOMPARE(list->count(), 4);
    QVERIFY(!delete_button->isEnabled());
    // What a screen reader reads: the rows by their names, the buttons by their texts.
    QAccessibleInterface* rows = QAccessible::queryAccessibleInterface(list);
    QVERIFY(rows && rows->tableInterface());
    QCOMPARE(rows->tableInterface()->cellAt(2, 0)->text(QAccessible::Name), QString("c.png"));
    QAccessibleInterface* root = QAccessible::queryAccessibleInterface(window_);
    for (const char* text : {"添加", "删除", "清空", "开始拼接"}) {
      QVERIFY2(test::FindAccessible(root, QAccessible::Button, text), text);
    }

    test::ClickRow(*list, 0);
    QVERIFY(delete_button->isEnabled());
    test::ClickRow(*list, 2, Qt::ControlModifier);
    QCOMPARE(list->selectedItems().size(), 2);
    QCOMPARE(QApplication::focusWidget(), list);
    test::PressKey(Qt::Key_Delete);
    QCOMPARE(list->count(), 2);
    QCOMPARE(list->item(0)->text(), QString("b.png"));
    QCOMPARE(list->item(1)->text(), QString("d.png"));

    test::ClickRow(*list, 0);
    test::PressKey(Qt::Key_Down, Qt::ShiftModifier);
    QCOMPARE(list->selectedItems().size(), 2);
    test::ClickButton(delete_button);
    QCOMPARE(list->count(), 0);
    QVERIFY(!delete_button->isEnabled());
    QVERIFY(!Find<QPushButton>(*window_, "clear_button")->isEnabled());
  }

  void cleanupTestCase() { main_.reset(); }

 private:
  test::ScriptedDialogs dialogs_;
  std::optional<AppContext> context_;
  std::unique_ptr<MainWindow> main_;
  JoinWindow* window_ = nullptr;
  test::TempFolder folder_;
};

}  // namespace brindle

int main(int argc, char** argv) {
  return brindle::test::RunAppTest<brindle::JoinWindowTest>(argc, argv);
}

#include "join_window_test.moc"
