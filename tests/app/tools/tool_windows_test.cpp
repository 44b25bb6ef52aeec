// The tool windows driven as a user would: opened from the main window, fed by drops and choosers,
// started, closed during a run; what they write and store is read back.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTest>
#include <filesystem>

#include "app/app_test_main.h"
#include "app/dialogs/balloon_hints.h"
#include "app/main/app_context.h"
#include "app/main/main_window.h"
#include "app/scripted_dialogs.h"
#include "app/tools/convert/convert_window.h"
#include "app/tools/png/png_window.h"
#include "app/tools/slice/slice_window.h"
#include "app/user_input.h"
#include "platform/files/file_write.h"
#include "platform/magick/magick_wand.h"
#include "run/batch/run_message.h"
#include "support/test_support.h"

namespace brindle {
namespace {

namespace fs = std::filesystem;

using test::Find;

void Drop(ToolWindow& window, const std::vector<fs::path>& paths) { window.TakeDrop(paths); }

}  // namespace

class ToolWindowsTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    context_ = test::StartTestProgram(dialogs_);
    QVERIFY(context_);
  }

  void init() { dialogs_.Forget(); }

  void theConversionWindowOpensWithItsStoredSettingsAndTakesOneFolder() {
    PreferenceStore& store = context_->store;
    store.WriteText("", "convert_format", "PNG");
    store.WriteNumber("", "convert_png8", 1);
    store.WriteNumber("", "convert_png8_color_count", 16);
    MainWindow main(*context_, dialogs_);
    QVERIFY(test::ActivateWindow(main));
    test::ClickCommand(main, "convert_tool");
    ConvertWindow& window = *main.convert_window();
    QVERIFY(window.isVisible() && !main.isVisible());
    QCOMPARE(window.windowTitle(), QString("Brindle图片批量格式转换工具"));
    QCOMPARE(Find<QComboBox>(window, "format_list")->currentText(), QString("PNG"));
    QVERIFY(Find<QCheckBox>(window, "png8_box")->isVisible());
    QCOMPARE(Find<QComboBox>(window, "colour_list")->currentText(), QString("16"));
    QVERIFY(Find<QComboBox>(window, "colour_list")->isVisible());
    QVERIFY(!Find<QSlider>(window, "quality_slider")->isVisible());
    QCOMPARE(Find<QCheckBox>(window, "keep_extension_box")->text(),
             QString("新的文件名保留原文件名的扩展名部分，举例：123.bmp 转换成 png 后新的文件名："
                     "123.bmp.png"));

    test::TempFolder folder;
    const fs::path photos = folder.path() / "photos";
    fs::create_directories(photos);
    fs::create_directories(folder.path() / "photos_处理后");
    fs::create_directories(folder.path() / "other");
    Drop(window, {photos, folder.path() / "other"});
    QCOMPARE(dialogs_.told, QStringList({"提示 | 一次只支持拖入一个文件夹"}));
    QVERIFY(window.source_box()->text().isEmpty());
    Drop(window, {photos});
    QCOMPARE(window.source_box()->text(), QString::fromStdString(photos.string()));
    QCOMPARE(window.output_box()->text(),
             QString::fromStdString((folder.path() / "photos_处理后(2)").string()));

    window.close();
    QVERIFY(!window.isVisible() && main.isVisible());
  }

  void aConversionRunWritesNumberedNamesAndStoresItsSettingsOnlyOnceValid() {
    PreferenceStore& store = context_->store;
    store.WriteText("", "convert_format", "JPG");
    store.WriteNumber("", "convert_quality", 90);
    MainWindow main(*context_, dialogs_);
    QVERIFY(test::ActivateWindow(main));
    test::ClickCommand(main, "convert_tool");
    ConvertWindow& window = *main.convert_window();
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    // Refused: nothing is stored.
    auto* slider = Find<QSlider>(window, "quality_slider");
    QCOMPARE(slider->value(), 90);
    test::FocusAsByTab(slider);
    test::PressKey(Qt::Key_PageDown);
    test::PressKey(Qt::Key_PageDown);
    QCOMPARE(slider->value(), 70);
    test::ClickButton(window.start_button());
    QCOMPARE(window.balloons().open_texts(),
             QStringList({"请选择【源图片文件夹】 | 源图片文件夹不能为空"}));
    QCOMPARE(QApplication::focusWidget()->objectName(), QString("source_button"));
    std::uint32_t quality = 0;
    QVERIFY(store.ReadNumber("", "convert_quality", quality) && quality == 90);

    test::TempFolder folder;
    const fs::path source = folder.path() / "pictures";
    fs::create_directories(source);
    test::WritePicture(source / "x.png", 40, 30, "PNG");
    test::WritePicture(source / "x.gif", 40, 30, "GIF");
    dialogs_.folder_to_pick = QString::fromStdString(source.string());
    test::ClickButton(Find<QPushButton>(window, "source_button"));
    const fs::path output = folder.path() / "pictures_处理后";
    QCOMPARE(window.output_box()->text(), QString::fromStdString(output.string()));
    window.balloons().DismissAll();
    test::ClickButton(window.start_button());
    QCOMPARE(window.balloons().open_texts(), QStringList({"请选择 | 原格式请至少选择一项"}));

    for (const char* format : {"format_png", "format_gif"}) {
      auto* box = Find<QCheckBox>(window, format);
      QVERIFY(!box->isChecked());
      test::ClickButton(box);
      QVERIFY(box->isChecked());
    }
    dialogs_.yes_no = {true};
    test::ClickButton(window.start_button());
    QTRY_VERIFY(!window.running() && window.start_button()->isEnabled());
    QCOMPARE(dialogs_.asked, QStringList({"图片处理已完成，是否查看处理后的图片？"}));
    QCOMPARE(dialogs_.opened, QStringList({QString::fromStdString(output.string())}));
    QVERIFY(fs::is_regular_file(output / "x.jpg"));
    QVERIFY(fs::is_regular_file(output / "x(2).jpg"));
    QVERIFY(store.ReadNumber("", "convert_quality", quality) && quality == 70);
    std::uint32_t mask = 0;
    QVERIFY(store.ReadNumber("", "convert_load_format_option", mask) && mask == 6);
  }

  void theConversionWindowTurnsPhonePicturesIntoWebp() {
    PreferenceStore& store = context_->store;
    store.WriteText("", "convert_format", "JPG");
    store.WriteNumber("", "convert_load_format_option", 0);
    MainWindow main(*context_, dialogs_);
    main.action("convert_tool")->trigger();
    ConvertWindow& window = *main.convert_window();
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    test::TempFolder folder;
    const fs::path source = folder.path() / "phone";
    fs::create_directories(source);
    test::WritePicture(source / "a.heic", 60, 40, "HEIC");
    test::WritePicture(source / "b.avif", 60, 40, "AVIF");
    test::WritePicture(source / "c.png", 60, 40, "PNG");
    Drop(window, {source});

    // The new boxes, ticked by clicks; "WEBP" chosen in the format list with the keyboard.
    auto* heic = Find<QCheckBox>(window, "format_heic");
    auto* avif = Find<QCheckBox>(window, "format_avif");
    QCOMPARE(heic->accessibleName(), QString("heic"));
    QTest::mouseClick(heic, Qt::LeftButton, {}, QPoint(4, heic->height() / 2));
    QTest::mouseClick(avif, Qt::LeftButton, {}, QPoint(4, avif->height() / 2));
    QVERIFY(heic->isChecked() && avif->isChecked());
    auto* format = Find<QComboBox>(window, "format_list");
    QCOMPARE(format->count(), 4);
    format->setFocus();
    QTest::keyClick(format, Qt::Key_Down);
    QTest::keyClick(format, Qt::Key_Down);
    QCOMPARE(format->currentText(), QString("WEBP"));
    QVERIFY(Find<QSlider>(window, "quality_slider")->isVisible());
    QCOMPARE(Find<QCheckBox>(window, "keep_extension_box")->text(),
             QString("新的文件名保留原文件名的扩展名部分，举例：123.bmp 转换成 webp 后新的文件名："
                     "123.bmp.webp"));

    dialogs_.yes_no = {false};
    window.start_button()->click();
    QTRY_VERIFY_WITH_TIMEOUT(!window.running() && window.start_button()->isEnabled(), 30000);
    const fs::path output = folder.path() / "phone_处理后";
    QCOMPARE(test::FilesIn(output), (std::vector<std::string>{"a.webp", "b.webp"}));
    for (const char* name : {"a.webp", "b.webp"}) {
      MagickWandPtr written = MakeMagickWand();
      QVERIFY(ReadPictureFile(written.get(), output / name, nullptr));
      QCOMPARE(MagickGetImageWidth(written.get()), std::size_t{60});
      QCOMPARE(test::ReadFile(output / name).substr(8, 4), std::string("WEBP"));
    }
    std::uint32_t mask = 0;
    QVERIFY(store.ReadNumber("", "convert_load_format_option", mask) && mask == (2048u | 4096u));
    std::string stored;
    QVERIFY(store.ReadText("", "convert_format", stored) && stored == "WEBP");
  }

  void thePngWindowAsksBeforeOverwritingAndNeedsAFreshSaveChoiceAfterARun() {
    MainWindow main(*context_, dialogs_);
    QVERIFY(test::ActivateWindow(main));
    test::ClickCommand(main, "png_tool");
    PngWindow& window = *main.png_window();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(window.windowTitle(), QString("BrindlePNG图片批量处理工具"));
    auto* to_folder = Find<QRadioButton>(window, "save_to_folder_option");
    auto* overwrite = Find<QRadioButton>(window, "overwrite_option");
    QVERIFY(to_folder->isChecked());

    dialogs_.yes_no = {false};
    test::ClickButton(overwrite);
    QCOMPARE(dialogs_.asked,
             QStringList(
                 {"直接覆盖原图，有可能因参数设置错误造成无法挽回的损失。\n\n确定要覆盖原图吗？"}));
    QVERIFY(to_folder->isChecked() && !overwrite->isChecked());

    test::ClickButton(Find<QPushButton>(window, "help_button"));
    QCOMPARE(dialogs_.told.size(), 1);
    QVERIFY(dialogs_.told.front().startsWith("提示 | 【图片缩小】：\n当原图尺寸大于设置的值时"));

    test::TempFolder folder;
    const fs::path source = folder.path() / "pngs";
    fs::create_directories(source);
    test::WritePicture(source / "wide.png", 40, 30, "PNG");
    window.TakeDrop({source});
    auto* resize = Find<QCheckBox>(window, "zoom_box");
    test::ClickButton(resize);
    QCOMPARE(QApplication::focusWidget(), Find<QLineEdit>(window, "zoom_value_box"));
    QCOMPARE(Find<QCheckBox>(window, "keep_proportions_box")->text(), QString("高度等比例缩小"));
    test::ClickButton(window.start_button());
    QCOMPARE(window.balloons().open_texts(), QStringList({"请输入 | 这里不能为空"}));
    window.balloons().DismissAll();
    QTest::keyClicks(Find<QLineEdit>(window, "zoom_value_box"), "20x");
    test::ClickButton(window.start_button());
    QTRY_VERIFY(!window.running() && window.start_button()->isEnabled());
    QCOMPARE(dialogs_.asked.back(), QString("图片处理已完成，是否查看处理后的图片？"));
    MagickWandPtr written = MakeMagickWand();
    QVERIFY(ReadPictureFile(written.get(), folder.path() / "pngs_处理后/wide.png", nullptr));
    QCOMPARE(MagickGetImageWidth(written.get()), 20u);
    QCOMPARE(MagickGetImageHeight(written.get()), 15u);

    QVERIFY(!to_folder->isChecked() && !overwrite->isChecked());
    test::ClickButton(window.start_button());
    QCOMPARE(window.balloons().open_texts(), QStringList({"请选择 | 请选择图片处理后保存的方式"}));
    window.close();
  }

  void theSliceWindowCutsFourRowsAndWritesAPageOfThem() {
    context_->store.WriteNumber("", "slice_horizontal", 0);
    context_->store.WriteNumber("", "slice_vertical", 0);
    MainWindow main(*context_, dialogs_);
    QVERIFY(test::ActivateWindow(main));
    test::ClickCommand(main, "slice_tool");
    SliceWindow& window = *main.slice_window();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(window.windowTitle(), QString("Brindle图片批量切片工具"));
    test::TempFolder folder;
    const fs::path source = folder.path() / "big";
    fs::create_directories(source);
    test::WritePicture(source / "photo.jpg", 1000, 750, "JPEG");
    window.TakeDrop({source});
    test::ClickButton(window.start_button());
    const QString neither = "看这里 | 【水平划分】与【垂直划分】至少勾选一项";
    QCOMPARE(window.balloons().open_texts(), QStringList({neither, neither}));
    window.balloons().DismissAll();

    auto* rows = Find<QGroupBox>(window, "horizontal_box");
    QVERIFY(!rows->isChecked());
    test::ClickGroupBoxTitle(rows);
    QVERIFY(rows->isChecked());
    auto* count = Find<QLineEdit>(window, "horizontal_avg_value_box");
    QVERIFY(count->isEnabled() && count->hasFocus());
    QVERIFY(!Find<QLineEdit>(window, "horizontal_pixel_value_box")->isEnabled());
    QTest::keyClicks(count, "4");
    test::ClickButton(window.start_button());
    QTRY_VERIFY(!window.running() && window.start_button()->isEnabled());
    const fs::path output = folder.path() / "big_处理后";
    for (int tile = 1; tile <= 4; ++tile) {
      MagickWandPtr wand = MakeMagickWand();
      const fs::path name = output / ("photo-" + std::to_string(tile) + ".jpg");
      QVERIFY2(ReadPictureFile(wand.get(), name, nullptr), name.c_str());
      QCOMPARE(MagickGetImageWidth(wand.get()), 1000u);
      QCOMPARE(MagickGetImageHeight(wand.get()), tile <= 2 ? 188u : 187u);
    }
    std::string page;
    QVERIFY(ReadWholeFile(output / "photo.html", page));
    for (int tile = 1; tile <= 4; ++tile) {
      const std::string tile_name = "photo-" + std::to_string(tile) + ".jpg";
      QVERIFY2(page.find(tile_name) != std::string::npos, tile_name.c_str());
    }
    window.close();
  }

  void closingDuringARunAsksAndOkStopsItAndReturnsToTheMainWindow() {
    test::TempFolder folder;
    const fs::path source = folder.path() / "many";
    fs::create_directories(source);
    test::WritePicture(source / "p0.png", 600, 400, "PNG");
    for (int i = 1; i < 100; ++i) {
      fs::copy_file(source / "p0.png", source / ("p" + std::to_string(i) + ".png"));
    }
    context_->store.WriteNumber("", "convert_load_format_option", kLoadPng);
    MainWindow main(*context_, dialogs_);
    QVERIFY(test::ActivateWindow(main));
    test::ClickCommand(main, "convert_tool");
    ConvertWindow& window = *main.convert_window();
    Drop(window, {source});
    test::ClickButton(window.start_button());
    QVERIFY(window.running());

    dialogs_.yes_no = {false};
    window.close();
    QCOMPARE(dialogs_.asked.size(), 1);
    QVERIFY(dialogs_.asked.front().startsWith("当前正在处理图片，关闭窗口将中断当前的图片处理。"));
    QVERIFY(window.running() && window.isVisible());

    dialogs_.yes_no = {true};
    window.close();
    QTRY_VERIFY(!window.running() && !window.isVisible());
    QCOMPARE(dialogs_.told, QStringList({"提示 | 任务已中止"}));
    QVERIFY(main.isVisible());
    const auto written = std::distance(fs::directory_iterator(folder.path() / "many_处理后"),
                                       fs::directory_iterator());
    QVERIFY(written < 100);
  }

  void aRunEndingWhileTheCloseQuestionIsOpenIsToldOnlyAfterTheAnswer() {
    test::TempFolder folder;
    const fs::path source = folder.path() / "some";
    fs::create_directories(source);
    test::WritePicture(source / "p0.png", 600, 400, "PNG");
    for (int i = 1; i < 30; ++i) {
      fs::copy_file(source / "p0.png", source / ("p" + std::to_string(i) + ".png"));
    }
    context_->store.WriteNumber("", "convert_load_format_option", kLoadPng);
    MainWindow main(*context_, dialogs_);
    main.action("convert_tool")->trigger();
    ConvertWindow& window = *main.convert_window();
    Drop(window, {source});
    window.start_button()->click();
    QVERIFY(window.running());

    // The person answers only after the run has ended; meanwhile no other box appears.
    QStringList shown_while_asking;
    dialogs_.while_asking = [&] {
      QVERIFY(QTest::qWaitFor([&] { return !window.running(); }, 60000));
      QTest::qWait(50);  // the run's end, queued to the window, has its chance to be handled
      shown_while_asking = dialogs_.told + dialogs_.asked.mid(1);
    };
    dialogs_.yes_no = {false, false};  // Cancel the closing, then No to viewing the results
    window.close();
    QCOMPARE(shown_while_asking, QStringList());
    // Then the run's end is told, after the question, and the window stays as Cancel asked.
    QCOMPARE(dialogs_.asked.size(), 2);
    QVERIFY(dialogs_.asked[0].startsWith("当前正在处理图片，关闭窗口将中断当前的图片处理。"));
    QCOMPARE(dialogs_.asked[1], QString(kCompletionQuestion));
    QVERIFY(window.isVisible() && window.start_button()->isEnabled());
    QCOMPARE(std::distance(fs::directory_iterator(folder.path() / "some_处理后"),
                           fs::directory_iterator()),
             30);

    // OK to the closing of a run that ends meanwhile: its end is told, then the window closes.
    dialogs_.Forget();
    window.start_button()->click();
    QVERIFY(window.running());
    dialogs_.while_asking = [&] {
      QVERIFY(QTest::qWaitFor([&] { return !window.running(); }, 60000));
      QTest::qWait(50);
      shown_while_asking = dialogs_.told + dialogs_.asked.mid(1);
    };
    dialogs_.yes_no = {true, false};
    window.close();
    QCOMPARE(shown_while_asking, QStringList());
    QCOMPARE(dialogs_.asked.size(), 2);
    QCOMPARE(dialogs_.asked[1], QString(kCompletionQuestion));
    QVERIFY(!window.isVisible() && main.isVisible());
  }

 private:
  test::ScriptedDialogs dialogs_;
  std::optional<AppContext> context_;
};

}  // namespace brindle

int main(int argc, char** argv) {
  return brindle::test::RunAppTest<brindle::ToolWindowsTest>(argc, argv);
}

#include "tool_windows_test.moc"
