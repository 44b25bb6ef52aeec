// The settings panel, the effect preview and the main batch driven as a user would, on Qt's
// offscreen platform with temporary XDG folders.
#include <fcntl.h>
#include <sys/stat.h>
#include <QAction>
#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>
#include <chrono>
#include <clocale>
#include <cstdlib>

#include <filesystem>

#include "app/app_test_main.h"
#include "app/dialogs/balloon_hints.h"
#include "app/list/picture_list_model.h"
#include "app/main/app_context.h"
#include "app/main/app_start.h"
#include "app/main/main_window.h"
#include "app/main/progress_window.h"
#include "app/panel/settings_panel.h"
#include "app/scripted_dialogs.h"
#include "app/user_input.h"
#include "app/widgets/picture_pane.h"
#include "panel/values/panel_choices.h"
#include "panel/values/panel_controls.h"
#include "prefs/auto_fill.h"
#include "prefs/preferences.h"
#include "recipe/options_file.h"
#include "support/test_support.h"

namespace brindle {
namespace {

namespace fs = std::filesystem;
namespace pc = panel_control;

QString Name(std::string_view name) {
  return QString::fromUtf8(name.data(), static_cast<int>(name.size()));
}

template <typename W>
W* Find(MainWindow& window, std::string_view name) {
  auto* widget = window.panel().findChild<W*>(Name(name));
  if (!widget) qFatal("no control %s", std::string(name).c_str());
  return widget;
}

std::vector<fs::path> FilesIn(const fs::path& folder) {
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(folder)) files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  return files;
}

}  // namespace

class SettingsPanelTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    context_ = test::StartTestProgram(dialogs_);
    QVERIFY(context_);
    pictures_ = fs::path(QDir::homePath().toStdString()) / "pictures";
    fs::create_directories(pictures_);
    for (const char* name : {"a.jpg", "b.jpg", "c.jpg"}) {
      test::WritePicture(pictures_ / name, 300, 200, "JPEG");
    }
  }

  // Each window starts from the default recipe, whatever the one before left in the context.
  void init() {
    const fs::path defaults = fs::path(QDir::homePath().toStdString()) / "default.sz";
    QVERIFY(WriteDefaultOptionsFile(defaults));
    context_->recipe = InitialProcessingOptions();
    QVERIFY(ReadOptionsFile(context_->recipe, defaults));
    dialogs_.Forget();
  }

  void recipesAreShownAsLoaded() {
    MainWindow window(*context_, dialogs_);
    QCOMPARE(Find<QLineEdit>(window, pc::kSizeBox)->text(), QString("750"));
    QStringList labels;
    for (QLabel* label : window.panel().findChildren<QLabel*>()) labels << label->text();
    QVERIFY(labels.contains("91(高)"));
    QCOMPARE(Find<QComboBox>(window, pc::kFontBox)->currentText(), QString("宋体"));
    QCOMPARE(Find<QLineEdit>(window, pc::kDpiBox)->text(), QString());
    // Screen readers name every control the user can reach by its visible text or its label.
    for (QWidget* control : window.panel().widget()->findChildren<QWidget*>()) {
      bool part_of_a_list = false;
      for (QWidget* up = control->parentWidget(); up; up = up->parentWidget()) {
        part_of_a_list |= qobject_cast<QComboBox*>(up) != nullptr;
      }
      if (control->focusPolicy() == Qt::NoFocus || part_of_a_list) continue;
      QVERIFY2(
          !control->accessibleName().isEmpty(),
          qPrintable(control->metaObject()->className() + QString(" ") + control->objectName()));
    }
    // The text watermark is off: its group shows only its placeholder.
    auto* text_group = Find<QGroupBox>(window, pc::kTextWatermark);
    QVERIFY(!text_group->isChecked());
    QVERIFY(!Find<QComboBox>(window, pc::kText)->isVisibleTo(text_group));
    bool placeholder = false;
    for (QLabel* label : text_group->findChildren<QLabel*>()) {
      placeholder |= label->text() == ". . ." && label->isVisibleTo(text_group);
    }
    QVERIFY(placeholder);

    // A recipe in percent, loaded with "加载图片设置...".
    const fs::path recipe = PercentRecipe();
    dialogs_.file_to_open = QString::fromStdString(recipe.string());
    test::SettingsMenuAction(window, menu_, "加载图片设置...")->trigger();
    QCOMPARE(Find<QLineEdit>(window, pc::kSizeBox)->text(), QString("37.50"));
    QCOMPARE(Find<QToolButton>(window, pc::kUnitLabel)->text(), QString("百分比"));
    QCOMPARE(Find<QComboBox>(window, pc::kZoomTypeList)->currentText(), QString("缩放"));
    QVERIFY(!Find<QComboBox>(window, pc::kZoomTypeList)->isEnabled());
  }

  void boxesCheckWhatIsTypedAndChoicesExcludeEachOther() {
    MainWindow window(*context_, dialogs_);
    ShowActive(window);
    auto* resize = Find<QCheckBox>(window, pc::kResize);
    test::ClickButton(resize);
    auto* size = Find<QLineEdit>(window, pc::kSizeBox);
    size->setFocus();
    size->selectAll();
    QTest::keyClicks(size, "7a");
    QCOMPARE(size->text(), QString("7"));
    QVERIFY(window.balloons().open_texts().join("\n").contains(
        "图片宽必须为整数,取值范围: 1 - 9999 (像素)"));
    // The hint stands clear of the box it points at, shaped by its mask (no square corners).
    const QRect box_area(size->mapToGlobal(QPoint(0, 0)), size->size());
    int balloons_seen = 0;
    for (QWidget* balloon : window.findChildren<QWidget*>("balloon_hint")) {
      if (!balloon->isVisible()) continue;
      ++balloons_seen;
      QVERIFY(!balloon->geometry().intersects(box_area));
      QVERIFY(!balloon->mask().isEmpty());
      QVERIFY(!balloon->mask().contains(QPoint(0, 0)));
      QVERIFY(!balloon->mask().contains(QPoint(balloon->width() - 1, balloon->height() - 1)));
    }
    QCOMPARE(balloons_seen, 1);
    // In pixels the box takes four digits at most.
    size->selectAll();
    QTest::keyClicks(size, "12345");
    QCOMPARE(size->text(), QString("1234"));
    size->setText("750");
    size->setFocus();
    QTest::keyClick(size, Qt::Key_Up);
    QCOMPARE(size->text(), QString("749"));
    // Left empty: refused, the focus comes back.
    size->selectAll();
    QTest::keyClick(size, Qt::Key_Backspace);
    Find<QCheckBox>(window, pc::kQuality)->setFocus();
    QVERIFY(window.balloons().open_texts().join("\n").contains("此项不能为空"));
    QTRY_COMPARE(QApplication::focusWidget(), size);

    // The longer side ticks and locks keep-aspect and explains itself.
    auto* side = Find<QComboBox>(window, pc::kSizeTypeList);
    emit side->activated(3);
    auto* keep = Find<QCheckBox>(window, pc::kKeepAspect);
    QVERIFY(keep->isChecked());
    QVERIFY(!keep->isEnabled());
    QVERIFY(
        window.balloons().open_texts().join("\n").contains("宽 > 高时，设置宽度，反之设置高度。"));

    // In percent "1000" is out of range.
    PanelValues values = window.panel().values();
    SetZoomUnit(values, ZoomUnit::kPercent);
    values.size_type = 0;
    values.size_text = "100";
    window.panel().SetValues(values);
    size->setFocus();
    size->setCursorPosition(3);
    QTest::keyClick(size, '0');
    QCOMPARE(size->text(), QString("100"));
    QVERIFY(window.balloons().open_texts().join("\n").contains(
        "图片宽的取值范围: 1.0 - 999.9 (百分比)"));

    // Resampling to a resolution excludes resizing.
    test::ClickButton(resize);
    QVERIFY(!resize->isChecked());
    test::ClickButton(Find<QCheckBox>(window, pc::kDpi));
    test::ClickButton(Find<QCheckBox>(window, pc::kResample));
    test::ClickButton(resize);
    QVERIFY(!resize->isChecked());
    QVERIFY(dialogs_.told.contains("提示 | 勾选了【重新采样】选项后，不能同时再勾选这个选项。"));
  }

  void aRunOfThreePicturesRemembersItsTextAndClearsTheChoice() {
    MainWindow window(*context_, dialogs_);
    ShowActive(window);
    window.AddPaths({pictures_ / "a.jpg", pictures_ / "b.jpg", pictures_ / "c.jpg"});
    const std::string config = test::ReadFile(context_->folders.ConfigFile());

    // No save choice: refused at the choice, nothing stored.
    test::ClickCommand(window, "start");
    QVERIFY(dialogs_.told.contains("提示 | 请选择图片处理后保存的方式"));
    QVERIFY(window.balloons().open_count() == 0);  // closed with the box
    QCOMPARE(test::ReadFile(context_->folders.ConfigFile()), config);

    const fs::path out = fs::path(QDir::homePath().toStdString()) / "out";
    fs::create_directories(out);
    dialogs_.folder_to_pick = QString::fromStdString(out.string());
    test::ClickButton(Find<QRadioButton>(window, pc::kSaveToFolder));
    test::ClickButton(Find<QPushButton>(window, pc::kSaveFolderButton));
    QCOMPARE(Find<QLineEdit>(window, pc::kSaveFolderBox)->text(),
             QString::fromStdString(out.string()));
    PanelValues values = window.panel().values();
    values.text_watermark = true;
    values.text = "水印";
    window.panel().SetValues(values);

    dialogs_.yes_no = {true};
    test::ClickButton(Find<QPushButton>(window, pc::kStartButton));
    QCOMPARE(window.progress().text(), QString("共 3 张图片，正在处理第 1 张。"));
    QTRY_VERIFY_WITH_TIMEOUT(!window.running() && !window.progress().isVisible(), 30000);
    QCOMPARE(dialogs_.asked,
             QStringList({"图片批量处理已完成，是否要打开目标文件夹查看处理后的图片？"}));
    QCOMPARE(dialogs_.opened, QStringList({QString::fromStdString(out.string())}));
    const std::vector<fs::path> written = FilesIn(out);
    QCOMPARE(written.size(), std::size_t{3});
    for (const fs::path& file : written)
      QVERIFY(!QImage(QString::fromStdString(file.string())).isNull());
    // config.dat holds the run's recipe as the recipe writer writes it.
    const fs::path expected = fs::path(QDir::homePath().toStdString()) / "expected.dat";
    QVERIFY(WriteOptionsFile(context_->recipe, expected));
    QCOMPARE(test::ReadFile(context_->folders.ConfigFile()), test::ReadFile(expected));
    // Save mode 0: neither choice is selected afterwards.
    QVERIFY(!Find<QRadioButton>(window, pc::kSaveToFolder)->isChecked());
    QVERIFY(!Find<QRadioButton>(window, pc::kOverwrite)->isChecked());
    QVERIFY(OfferedTexts(context_->store).front() == "水印");
    // The text drop-down offers it.
    auto* text_box = Find<QComboBox>(window, pc::kText);
    text_box->showPopup();
    QVERIFY(text_box->findText("水印") >= 0);
    text_box->hidePopup();
  }

  void overwritingTurnsTheOriginalsAndResetsTheirEntries() {
    const fs::path folder = fs::path(QDir::homePath().toStdString()) / "originals";
    fs::create_directories(folder);
    test::WritePicture(folder / "wide.jpg", 300, 200, "JPEG");
    MainWindow window(*context_, dialogs_);
    ShowActive(window);
    window.AddPaths({folder / "wide.jpg"});
    test::ClickRow(test::ShownPictureList(window), 0);
    test::ClickCommand(window, "rotate_right");
    // Choosing to overwrite asks first; OK keeps the choice.
    dialogs_.yes_no = {true};
    test::ClickButton(Find<QRadioButton>(window, pc::kOverwrite));
    QCOMPARE(dialogs_.asked.size(), 1);
    QVERIFY(Find<QRadioButton>(window, pc::kOverwrite)->isChecked());
    test::ClickCommand(window, "start");
    QTRY_VERIFY_WITH_TIMEOUT(!window.running() && !window.progress().isVisible(), 30000);
    QCOMPARE(dialogs_.told, QStringList({"完成 | 图片批量处理已完成"}));
    QCOMPARE(QImage(QString::fromStdString((folder / "wide.jpg").string())).size(),
             QSize(200, 300));
    QCOMPARE(window.model().list()[0].rotation, 0);
    QVERIFY(!Find<QRadioButton>(window, pc::kOverwrite)->isChecked());
  }

  void stoppingARunLeavesOnlyWholePictures() {
    const fs::path many = fs::path(QDir::homePath().toStdString()) / "many";
    fs::create_directories(many);
    for (int i = 0; i < 20; ++i) {
      test::WritePicture(many / ("p" + std::to_string(i) + ".jpg"), 1600, 1200, "JPEG");
    }
    const fs::path out = fs::path(QDir::homePath().toStdString()) / "stopped";
    fs::create_directories(out);
    MainWindow window(*context_, dialogs_);
    ShowActive(window);
    window.AddPaths({many});
    PanelValues values = window.panel().values();
    ChooseSaveFolder(values, out.string());
    window.panel().SetValues(values);
    test::ClickCommand(window, "start");
    QTRY_VERIFY(window.progress().text().contains("第 2 张") || !window.running());
    test::ClickButton(window.progress().stop_button());
    QCOMPARE(window.progress().stop_button()->text(), QString("停止中..."));
    QTRY_VERIFY_WITH_TIMEOUT(!window.running() && !window.progress().isVisible(), 30000);
    QVERIFY(dialogs_.asked.isEmpty());  // no completion question
    const std::vector<fs::path> written = FilesIn(out);
    QVERIFY(written.size() < 20);
    for (const fs::path& file : written) {
      QVERIFY(!QImage(QString::fromStdString(file.string())).isNull());
    }

    // Closing the program during a run stops it; the pictures in hand are finished.
    test::ClickCommand(window, "start");
    QVERIFY(window.running());
    window.close();
    QVERIFY(!window.running());
    for (const fs::path& file : FilesIn(out)) {
      QVERIFY(!QImage(QString::fromStdString(file.string())).isNull());
    }
  }

  void aChineseTextWithALatinFaceIsRefusedAtTheFontBox() {
    MainWindow window(*context_, dialogs_);
    ShowActive(window);
    window.AddPaths({pictures_ / "a.jpg"});
    PanelValues values = window.panel().values();
    values.text_watermark = true;
    values.text = "水印";
    ChooseFont(values, "DejaVu Sans");
    window.panel().SetValues(values);
    test::ClickRow(test::ShownPictureList(window), 0);
    test::ClickCommand(window, "preview");
    QVERIFY(!window.preview_shown());
    QVERIFY2(dialogs_.told.join("\n").contains("不支持显示中文"),
             qPrintable(dialogs_.told.join("\n")));
    QCOMPARE(QApplication::focusWidget()->objectName(), Name(pc::kFontBox));
  }

  void theEffectPreviewStepsThroughThePictures() {
    MainWindow window(*context_, dialogs_);
    ShowActive(window);
    window.AddPaths({pictures_ / "a.jpg"});
    test::ClickRow(test::ShownPictureList(window), 0);
    test::ClickCommand(window, "preview");
    QTRY_VERIFY(window.preview_shown());
    QCOMPARE(window.windowTitle(), QString("Brindle图片批量处理工具(V13.7) - 效果预览 - a.jpg"));
    QVERIFY(window.list_status().startsWith("原图尺寸: "));
    QVERIFY(window.selection_status().startsWith("处理后图片尺寸: "));
    test::ClickCommand(window, "preview");
    QVERIFY(!window.preview_shown());

    window.AddPaths({pictures_ / "b.jpg", pictures_ / "c.jpg"});
    test::ClickRow(test::ShownPictureList(window), 0);
    test::ClickCommand(window, "preview");
    QTRY_VERIFY(window.windowTitle().endsWith(" - a.jpg"));
    QTest::keyClick(&window.preview(), Qt::Key_Right);
    QTRY_VERIFY(window.windowTitle().endsWith(" - b.jpg"));
    // Steps faster than the pictures are made: only the last one is shown.
    QTest::keyClick(&window.preview(), Qt::Key_Left);
    QTest::keyClick(&window.preview(), Qt::Key_Left);
    QTRY_VERIFY(window.windowTitle().endsWith(" - c.jpg"));
    // A change that matters shows: the result is made again from the kept picture.
    const QString before = window.selection_status();
    PanelValues values = window.panel().values();
    values.resize = true;
    values.size_text = "100";
    window.panel().SetValues(values);
    emit window.panel().PreviewRefreshRequested();
    QTRY_VERIFY(window.selection_status().contains("100 x 67"));
    QVERIFY(window.selection_status() != before);
    QCOMPARE(window.preview().image().width(), 100);
    QTest::keyClick(&window.preview(), Qt::Key_Escape);
    QVERIFY(!window.preview_shown());
    QCOMPARE(window.windowTitle(), QString("Brindle图片批量处理工具(V13.7)"));
  }

  void aCommaDecimalLocaleKeepsTheDecimalPoint() {
    const fs::path locales = fs::path(QDir::homePath().toStdString()) / "locales";
    fs::create_directories(locales);
    const std::string make =
        "localedef -i de_DE -f UTF-8 " + (locales / "de_DE.UTF-8").string() + " >/dev/null 2>&1";
    if (std::system(make.c_str()) != 0) QSKIP("localedef cannot make de_DE.UTF-8 here");
    setenv("LOCPATH", locales.c_str(), 1);
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8")) QSKIP("de_DE.UTF-8 cannot be used here");
    struct Restore {
      ~Restore() { std::setlocale(LC_ALL, "C.UTF-8"); }
    } restore;

    MainWindow window(*context_, dialogs_);
    dialogs_.file_to_open = QString::fromStdString(PercentRecipe().string());
    test::SettingsMenuAction(window, menu_, "加载图片设置...")->trigger();
    auto* size = Find<QLineEdit>(window, pc::kSizeBox);
    QCOMPARE(size->text(), QString("37.50"));
    const fs::path saved = context_->folders.RecipeFolder() / "komma.sz";
    dialogs_.file_to_save = QString::fromStdString(saved.string());
    test::SettingsMenuAction(window, menu_, "保存当前图片设置...")->trigger();
    const std::string text = test::ReadFile(saved);
    QVERIFY(text.find("fSizeValue=37.5") != std::string::npos);
    QVERIFY(text.find("37,5") == std::string::npos);
    fs::remove(saved);
  }

  void recipesAreSavedAndOfferedNewestFirst() {
    MainWindow window(*context_, dialogs_);
    const fs::path folder = context_->folders.RecipeFolder();
    dialogs_.file_to_save = QString::fromStdString((folder / "mine").string());
    test::SettingsMenuAction(window, menu_, "保存当前图片设置...")->trigger();
    QVERIFY(fs::is_regular_file(folder / "mine.sz"));
    QVERIFY(dialogs_.told.isEmpty());
    // A folder in its place cannot be written: said, not left silent.
    fs::create_directories(folder / "taken.sz");
    dialogs_.file_to_save = QString::fromStdString((folder / "taken.sz").string());
    test::SettingsMenuAction(window, menu_, "保存当前图片设置...")->trigger();
    QCOMPARE(dialogs_.told.size(), 1);
    QVERIFY(dialogs_.told.front().startsWith("错误 | 保存图片设置到文件"));
    fs::remove(folder / "taken.sz");

    for (int i = 0; i < 11; ++i) {
      test::WriteFile(folder / ("r" + std::to_string(i) + (i == 10 ? "&x.sz" : ".sz")),
                      DefaultOptionsText());
      const struct timespec times[2] = {{1700000000 + i * 100, 0}, {0, UTIME_OMIT}};
      utimensat(AT_FDCWD,
                (folder / ("r" + std::to_string(i) + (i == 10 ? "&x.sz" : ".sz"))).c_str(), times,
                0);
    }
    QStringList loads;
    std::unique_ptr<QMenu> menu(window.BuildSettingsMenu());
    for (QAction* act : menu->actions()) {
      if (act->text().startsWith("加载 - ")) loads << act->text();
    }
    QCOMPARE(loads.size(), 10);
    QCOMPARE(loads.front(), QString("加载 - mine.sz"));
    QCOMPARE(loads[1], QString("加载 - r10&&x.sz"));  // "&" shown as typed
  }

  void phonePicturesGoThroughTheBatchAsWebpWithTheirTimes() {
    const fs::path phone = fs::path(QDir::homePath().toStdString()) / "phone";
    fs::create_directories(phone);
    test::WritePicture(phone / "a.heic", 240, 160, "HEIC");
    test::WritePicture(phone / "b.avif", 240, 160, "AVIF");
    test::WritePicture(phone / "c.webp", 240, 160, "WEBP");
    const auto old_time = fs::file_time_type::clock::now() - std::chrono::hours(24 * 100);
    for (const char* name : {"a.heic", "b.avif", "c.webp"}) {
      fs::last_write_time(phone / name, old_time);
    }
    const fs::path out = fs::path(QDir::homePath().toStdString()) / "webp-out";
    fs::create_directories(out);
    MainWindow window(*context_, dialogs_);
    ShowActive(window);
    window.AddPaths({phone});
    QCOMPARE(window.model().rowCount(), 3);

    // The first picture chosen by a click: its information line comes from its header.
    auto* view = window.findChild<QAbstractItemView*>();
    QVERIFY(view);
    const QRect first = view->visualRect(window.model().index(0, 0));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, first.center());
    QVERIFY2(window.selection_status().startsWith("尺寸: 240 x 160, 类型: HEIF 图片"),
             qPrintable(window.selection_status()));

    // "处理后保留原图片的修改时间" is stored as soon as it is ticked.
    QMenu* menu = window.BuildSettingsMenu();
    QAction* keep_time = nullptr;
    for (QAction* act : menu->actions()) {
      if (act->text() == "处理后保留原图片的修改时间") keep_time = act;
    }
    QVERIFY(keep_time);
    QVERIFY(!keep_time->isChecked());
    keep_time->trigger();
    QCOMPARE(ReadPreference(context_->store, pref::kKeepFileTime), 1);

    PanelValues values = window.panel().values();
    ChooseSaveFolder(values, out.string());
    window.panel().SetValues(values);
    // "WebP" chosen in the save group's format list with the keyboard.
    auto* format = Find<QComboBox>(window, pc::kOutputFormatList);
    QCOMPARE(format->accessibleName(), QString("输出格式："));
    format->setFocus();
    QTest::keyClick(format, Qt::Key_Down);
    QCOMPARE(format->currentText(), QString("WebP"));
    QCOMPARE(window.panel().values().output_format, 1);

    // The effect preview shows the format and size the saved file will have.
    window.action("preview")->trigger();
    QTRY_VERIFY(window.preview_shown());
    QVERIFY2(window.selection_status().startsWith("处理后图片尺寸: 240 x 160, 类型: WEBP 图片"),
             qPrintable(window.selection_status()));
    window.action("preview")->trigger();

    window.action("start")->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(!window.running() && !window.progress().isVisible(), 60000);
    const std::vector<fs::path> written = FilesIn(out);
    QCOMPARE(written.size(), std::size_t{3});
    for (const fs::path& file : written) {
      QCOMPARE(file.extension().string(), std::string(".webp"));
      QCOMPARE(test::ReadFile(file).substr(8, 4), std::string("WEBP"));
      QVERIFY(fs::last_write_time(file) == old_time);
    }
    // The run's recipe names the format; a JPEG recipe never does.
    QVERIFY(test::ReadFile(context_->folders.ConfigFile()).find("outputFormat=WEBP\r\n") !=
            std::string::npos);
    keep_time->trigger();
    QCOMPARE(ReadPreference(context_->store, pref::kKeepFileTime), 0);
  }

 private:
  // The default recipe resizing to 37.5 percent.
  fs::path PercentRecipe() {
    std::string text = "\n" + DefaultOptionsText();
    for (const auto& [key, value] : {std::pair{"bSize=", "bSize=1\r"},
                                     {"zoomUnit=", "zoomUnit=1\r"},
                                     {"fSizeValue=", "fSizeValue=37.5\r"}}) {
      const std::size_t at = text.find(std::string("\n") + key);
      text.replace(at + 1, text.find('\n', at + 1) - at - 1, value);
    }
    const fs::path recipe = pictures_ / "percent.sz";
    test::WriteFile(recipe, text.substr(1));
    return recipe;
  }

  static void ShowActive(MainWindow& window) {
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
  }

  test::ScriptedDialogs dialogs_;
  std::optional<AppContext> context_;
  fs::path pictures_;
  QPointer<QMenu> menu_;  // the window owns it
};

}  // namespace brindle

int main(int argc, char** argv) {
  return brindle::test::RunAppTest<brindle::SettingsPanelTest>(argc, argv);
}

#include "settings_panel_test.moc"
