// The crop window driven as a user would: its preview of a folder and of a hand-made list, the
// arrow keys, refusals at the boxes, drops in each mode and a run over the list.
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
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
#include "app/tools/crop/crop_window.h"
#include "app/user_input.h"
#include "app/widgets/picture_pane.h"
#include "support/test_support.h"

namespace brindle {
namespace {

namespace fs = std::filesystem;

using test::Find;

}  // namespace

class CropWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    context_ = test::StartTestProgram(dialogs_);
    QVERIFY(context_);
    PreferenceStore& store = context_->store;
    store.WriteNumber("", "crop_source_type", 0);
    store.WriteNumber("", "crop_mode", 0);
    store.WriteNumber("", "crop_align", 0);
    store.WriteNumber("", "crop_fixed_width", 300);
    store.WriteNumber("", "crop_fixed_height", 200);
    main_ = std::make_unique<MainWindow>(*context_, dialogs_);
    main_->action("crop_tool")->trigger();
    window_ = main_->crop_window();
    QVERIFY(QTest::qWaitForWindowExposed(window_));
  }

  void init() {
    dialogs_.Forget();
    window_->balloons().DismissAll();
  }

  void aCentredFixedRectangleIsShownBrightInsideItsFrame() {
    QCOMPARE(window_->windowTitle(), QString("Brindle图片批量裁剪工具"));
    QCOMPARE(window_->status(), QStringList({"就绪...", "", ""}));
    const fs::path source = folder_.path() / "one";
    fs::create_directories(source);
    test::WritePicture(source / "wide.jpg", 1000, 500, "JPEG");
    window_->TakeDrop({source});
    QTRY_VERIFY(!window_->preview_pending());
    QCOMPARE(window_->status(),
             QStringList({"原图尺寸: 1000 x 500", "裁剪后图片尺寸: 300 x 200",
                          QString::fromStdString("图片: " + (source / "wide.jpg").string())}));
    const QImage shown = window_->preview().image();
    QCOMPARE(shown.size(), QSize(1000, 500));
    // The same yellow quarter inside the rectangle and outside it: darkened outside.
    QVERIFY(qGray(shown.pixel(420, 200)) > qGray(shown.pixel(200, 100)) + 60);
    QVERIFY(qAbs(qGray(shown.pixel(350, 250)) - 0xCC) < 24);
    QVERIFY(qAbs(qGray(shown.pixel(500, 150)) - 0xCC) < 24);
  }

  void fortyPicturesGiveThirtyTwoToStepThrough() {
    const fs::path source = folder_.path() / "forty";
    fs::create_directories(source);
    test::WritePicture(source / "p00.jpg", 64, 48, "JPEG");
    for (int i = 1; i < 40; ++i) {
      fs::copy_file(source / "p00.jpg",
                    source / QString("p%1.jpg").arg(i, 2, 10, QChar('0')).toStdString());
    }
    window_->TakeDrop({source});
    QCOMPARE(window_->preview_list().size(), std::size_t{32});
    for (int i = 0; i < 32; ++i) QTest::keyClick(&window_->preview(), Qt::Key_Right);
    QTRY_VERIFY(!window_->preview_pending());
    QCOMPARE(window_->preview_index(), 0);
    QTest::keyClick(&window_->preview(), Qt::Key_Left);
    QTRY_VERIFY(!window_->preview_pending());
    QCOMPARE(window_->preview_index(), 31);
  }

  void refusalsPointAtTheirBoxes() {
    auto* mode = Find<QComboBox>(*window_, "mode_list");
    QCOMPARE(mode->currentIndex(), 0);
    // Each choice moves the focus on to the boxes it needs.
    for (int step = 0; step < 2; ++step) {
      test::FocusAsByTab(mode);
      test::PressKey(Qt::Key_Down);
    }
    QCOMPARE(mode->currentIndex(), 2);
    auto* ratio_width = Find<QLineEdit>(*window_, "ratio_width_box");
    ratio_width->setText("0");
    Find<QLineEdit>(*window_, "ratio_height_box")->setText("3");
    test::ClickButton(window_->start_button());
    QCOMPARE(window_->balloons().open_texts(), QStringList({"这里不能小于 1 | 请重新输入"}));
    QCOMPARE(QApplication::focusWidget(), ratio_width);
    window_->balloons().DismissAll();

    test::ClickButton(Find<QRadioButton>(*window_, "list_mode_option"));
    test::ClickButton(window_->start_button());
    QCOMPARE(window_->balloons().open_texts(), QStringList({"请先添加图片 | 当前源图片列表为空"}));
    test::FocusAsByTab(mode);
    test::PressKey(Qt::Key_Home);
    QCOMPARE(mode->currentIndex(), 0);
  }

  void theListTakesDroppedPicturesOnceAndFollowsADeletion() {
    test::ClickButton(Find<QRadioButton>(*window_, "list_mode_option"));
    const fs::path pictures = folder_.path() / "loose";
    fs::create_directories(pictures);
    test::WritePicture(pictures / "a.jpg", 400, 300, "JPEG");
    test::WritePicture(pictures / "b.png", 300, 300, "PNG");
    window_->TakeDrop({pictures});
    QCOMPARE(dialogs_.told,
             QStringList({"提示 | 当前模式：只支持拖入图片文件，格式：jpg, png, gif, bmp"}));
    auto* list = Find<QListWidget>(*window_, "picture_list");
    QCOMPARE(list->count(), 0);
    window_->TakeDrop({pictures / "a.jpg", pictures / "a.jpg", pictures / "b.png"});
    QCOMPARE(list->count(), 2);
    QCOMPARE(list->item(1)->text(), QString("b.png"));
    QTRY_VERIFY(!window_->preview_pending());
    QVERIFY(window_->status()[2].endsWith("a.jpg"));

    // Deleting the picture shown: the next one takes its row and its preview.
    auto* delete_button = Find<QPushButton>(*window_, "delete_button");
    QVERIFY(!delete_button->isEnabled());
    test::ClickRow(*list, 0);
    test::ClickButton(delete_button);
    QCOMPARE(list->count(), 1);
    QCOMPARE(list->currentRow(), 0);
    QTRY_VERIFY(!window_->preview_pending());
    QVERIFY(window_->status()[2].endsWith("b.png"));
    QCOMPARE(window_->status()[1], QString("裁剪后图片尺寸: 300 x 200"));

    // Overwriting asks first; after the run neither save choice is left.
    dialogs_.yes_no = {true};
    test::ClickButton(Find<QRadioButton>(*window_, "overwrite_option"));
    QCOMPARE(dialogs_.asked,
             QStringList(
                 {"直接覆盖原图，有可能因参数设置错误造成无法挽回的损失。\n\n确定要覆盖原图吗？"}));
    QVERIFY(!window_->output_box()->isVisible());
    test::ClickButton(window_->start_button());
    QTRY_VERIFY(!window_->running() && window_->start_button()->isEnabled());
    QVERIFY(!Find<QRadioButton>(*window_, "overwrite_option")->isChecked());
    QVERIFY(!Find<QRadioButton>(*window_, "save_to_folder_option")->isChecked());
    MagickWandPtr written = MakeMagickWand();
    QVERIFY(ReadPictureFile(written.get(), pictures / "b.png", nullptr));
    QCOMPARE(MagickGetImageHeight(written.get()), 200u);
  }

  void cleanupTestCase() { main_.reset(); }

 private:
  test::ScriptedDialogs dialogs_;
  std::optional<AppContext> context_;
  std::unique_ptr<MainWindow> main_;
  CropWindow* window_ = nullptr;
  test::TempFolder folder_;
};

}  // namespace brindle

int main(int argc, char** argv) {
  return brindle::test::RunAppTest<brindle::CropWindowTest>(argc, argv);
}

#include "crop_window_test.moc"
