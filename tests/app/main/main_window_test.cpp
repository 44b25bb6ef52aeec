// The desktop program's main window driven as a user would, on Qt's offscreen platform with
// temporary XDG folders.
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QListView>
#include <QMenu>
#include <QTest>
#include <QToolBar>
#include <QTreeView>
#include <filesystem>
#include <thread>

#include "app/app_test_main.h"
#include "app/dialogs/balloon_hints.h"
#include "app/list/picture_list_model.h"
#include "app/main/app_context.h"
#include "app/main/app_start.h"
#include "app/main/info_window.h"
#include "app/main/main_window.h"
#include "app/main/picture_viewer.h"
#include "app/scripted_dialogs.h"
#include "app/user_input.h"
#include "app/widgets/picture_pane.h"
#include "base/info_log.h"
#include "base/product_name.h"
#include "prefs/preferences.h"
#include "recipe/options_file.h"
#include "support/test_support.h"
#include "window_rules/main/desktop_launcher.h"

namespace brindle {
namespace {

namespace fs = std::filesystem;

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    context_ = test::StartTestProgram(dialogs_);
    QVERIFY(context_);
    pictures_ = fs::path(QDir::homePath().toStdString()) / "pictures";
    fs::create_directories(pictures_ / "album" / "day1");
    test::WritePicture(pictures_ / "a.jpg", 30, 20, "JPEG");
    test::WritePicture(pictures_ / "b.png", 20, 30, "PNG");
    test::WritePicture(pictures_ / "c.gif", 10, 10, "GIF");
    test::WritePicture(pictures_ / "<b>x<i> & y.png", 10, 10, "PNG");
    test::WriteAnimatedGif(pictures_ / "moving.gif", 10, 10);
    test::WritePicture(pictures_ / "album" / "d.png", 10, 10, "PNG");
    test::WritePicture(pictures_ / "album" / "day1" / "e.png", 10, 10, "PNG");
  }

  void firstStartWritesTheDefaultRecipeAndShowsAnEmptyList() {
    QCOMPARE(test::ReadFile(context_->folders.ConfigFile()), DefaultOptionsText());
    QVERIFY(dialogs_.told.isEmpty());  // no profile box on a machine without the CMYK profiles
    MainWindow window(*context_, dialogs_);
    QCOMPARE(window.windowTitle(), QString("Brindle图片批量处理工具(V13.7)"));
    QCOMPARE(window.list_status(), QString("0 张图片"));
    QVERIFY(!window.action("remove_picture")->isEnabled());
    QVERIFY(!window.action("rotate_right")->isEnabled());
    QVERIFY(window.empty_hint_shown());
    QStringList toolbar;
    for (QAction* act : window.findChild<QToolBar*>("toolbar")->actions()) {
      if (!act->isSeparator()) toolbar << act->text();
    }
    QCOMPARE(toolbar, QStringList({"添加图片", "添文件夹", "移除图片", "图片左转", "图片右转",
                                   "水平翻转", "垂直翻转", "效果预览", "开始处理", "处理PNG",
                                   "图片拼接", "图片切片", "图片裁剪", "格式转换", "快捷方式",
                                   "官方网站", "关于", "使用指南", "软件设置"}));
  }

  void droppedPicturesAreListedSelectedTurnedAndRemoved() {
    InfoLog::Global().Clear();
    MainWindow window(*context_, dialogs_);
    const std::vector<fs::path> three = {pictures_ / "a.jpg", pictures_ / "b.png",
                                         pictures_ / "c.gif"};
    window.AddPaths(three);
    window.AddPaths(three);
    window.AddPaths({pictures_ / "moving.gif", "/"});
    PictureListModel& model = window.model();
    QCOMPARE(model.rowCount(), 3);
    QCOMPARE(model.index(2, 0).data().toString(), QString("c.gif"));
    QVERIFY(window.list_status().startsWith("3 张图片"));
    QVERIFY(!window.empty_hint_shown());
    const QString log = QString::fromStdString(InfoLog::Global().Text());
    QVERIFY(log.contains("不支持gif动画图片:"));
    QVERIFY(log.contains("暂不支持拖动根目录:[/]"));

    // A name that looks like markup is shown as written.
    window.AddPaths({pictures_ / "<b>x<i> & y.png"});
    QCOMPARE(model.index(3, 0).data(Qt::AccessibleTextRole).toString(), QString("<b>x<i> & y.png"));

    QVERIFY(test::ActivateWindow(window));
    auto& icons = *test::Find<QListView>(window, "picture_icons");
    auto& bar = *test::Find<QToolBar>(window, "toolbar");
    test::ClickRow(icons, 0);
    QVERIFY2(window.selection_status().startsWith("尺寸: 30 x 20"),
             qPrintable(window.selection_status()));
    QVERIFY(window.action("rotate_right")->isEnabled());
    test::ClickRow(icons, 1, Qt::ControlModifier);
    QCOMPARE(window.selection_status(), QString("选中了 2 张图片"));

    test::ClickToolbar(bar, window.action("rotate_right"));
    QCOMPARE(model.list()[0].rotation, 90);
    for (int turn = 0; turn < 3; ++turn) test::ClickToolbar(bar, window.action("rotate_right"));
    QCOMPARE(model.list()[0].rotation, 0);
    QCOMPARE(model.list()[1].rotation, 0);

    // Thumbnails come from the worker through the event loop.
    QTRY_VERIFY(!model.ThumbnailOf(0).isNull());
    QCOMPARE(model.ThumbnailOf(0).size(), QSize(96, 96));

    test::ClickToolbar(bar, window.action("remove_picture"));
    QCOMPARE(model.rowCount(), 2);
    QCOMPARE(model.index(0, 0).data().toString(), QString("c.gif"));
    QVERIFY(window.list_status().startsWith("2 张图片"));
  }

  // The icon view with the pointer and the keyboard: a click takes a thumbnail as the selection,
  // the toolbar turns it, a double-click previews it, Delete removes it.
  void aClickedThumbnailIsTurnedPreviewedAndRemoved() {
    MainWindow window(*context_, dialogs_);
    window.AddPaths({pictures_ / "a.jpg", pictures_ / "b.png", pictures_ / "c.gif"});
    QVERIFY(test::ActivateWindow(window));
    auto& icons = *test::Find<QListView>(window, "picture_icons");
    QVERIFY(icons.isVisible());
    auto& bar = *test::Find<QToolBar>(window, "toolbar");
    PictureListModel& model = window.model();

    // The preview tip of the first pictures is open; the click that closes it still selects.
    QCOMPARE(window.balloons().open_count(), 1);
    test::ClickRow(icons, 0);
    QCOMPARE(window.balloons().open_count(), 0);
    QVERIFY2(window.selection_status().startsWith("尺寸: 30 x 20"),
             qPrintable(window.selection_status()));
    for (const char* name : {"remove_picture", "rotate_left", "rotate_right", "flip_horizontal",
                             "flip_vertical", "preview"}) {
      QVERIFY2(window.action(name)->isEnabled(), name);
    }
    test::ClickToolbar(bar, window.action("rotate_left"));
    QCOMPARE(model.list()[0].rotation, 270);
    test::ClickToolbar(bar, window.action("flip_horizontal"));
    QCOMPARE(model.list()[0].rotation, 90);
    QCOMPARE(model.list()[0].flip, FlipState::kByHorizontalFlip);
    QCOMPARE(model.list()[1].rotation, 0);

    // A double-click on a picture opens its effect preview, not the chooser; Escape leaves it.
    dialogs_.picked_title.clear();
    test::DoubleClickRow(icons, 1);
    QTRY_VERIFY(window.preview_shown());
    QVERIFY(window.windowTitle().endsWith(" - b.png"));
    QVERIFY(dialogs_.picked_title.isEmpty());
    test::PressKey(Qt::Key_Escape);
    QVERIFY(!window.preview_shown());
    QCOMPARE(QApplication::focusWidget(), &icons);
    QVERIFY2(window.selection_status().startsWith("尺寸: 20 x 30"),
             qPrintable(window.selection_status()));

    test::PressKey(Qt::Key_Delete);
    QCOMPARE(model.rowCount(), 2);
    QCOMPARE(model.index(1, 0).data().toString(), QString("c.gif"));
    QCOMPARE(window.selection_status(), QString());
    QVERIFY(!window.action("remove_picture")->isEnabled());

    // A double-click on empty space opens the chooser, whose pictures join the list.
    dialogs_.files_to_pick = {QString::fromStdString((pictures_ / "album" / "d.png").string())};
    const QRect last = icons.visualRect(model.index(1, 0));
    const QPoint empty(last.center().x(), last.bottom() + 40);
    QVERIFY(!icons.indexAt(empty).isValid());
    test::DoubleClickAt(icons.viewport(), empty);
    QCOMPARE(dialogs_.picked_title, QString("选择图片 - 支持多选"));
    QCOMPARE(model.rowCount(), 3);
    QVERIFY(!window.preview_shown());
    dialogs_.files_to_pick.clear();
  }

  // The next picture asked for with an arrow key and the preview left before it is made: the wait
  // cursor goes with the preview, and the late picture does not bring the preview back.
  void thePreviewLeftWhileAPictureIsMadeTakesItsWaitCursor() {
    MainWindow window(*context_, dialogs_);
    window.AddPaths({pictures_ / "a.jpg", pictures_ / "b.png"});
    QVERIFY(test::ActivateWindow(window));
    auto& icons = *test::Find<QListView>(window, "picture_icons");
    test::ClickRow(icons, 0);
    test::DoubleClickRow(icons, 0);
    QTRY_VERIFY(window.preview_shown());
    QTRY_VERIFY(!QApplication::overrideCursor());

    test::PressKey(Qt::Key_Right);
    QVERIFY(QApplication::overrideCursor());
    QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    // Time for the worker to make the picture, with no event handled meanwhile: its result waits
    // in the queue when the preview is left.
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    test::PressKey(Qt::Key_Escape);
    QVERIFY(!window.preview_shown());
    QVERIFY(!QApplication::overrideCursor());
    QCoreApplication::processEvents();
    QVERIFY(!window.preview_shown());
    QCOMPARE(window.windowTitle(), QString::fromStdString(ProductTitleWithVersion()));
    QCOMPARE(QApplication::focusWidget(), &icons);

    // Opened again, the preview shows the picture asked for now.
    test::DoubleClickRow(icons, 0);
    QTRY_VERIFY(window.preview_shown());
    QVERIFY2(window.windowTitle().endsWith(" - a.jpg"), qPrintable(window.windowTitle()));
    QTRY_VERIFY(!QApplication::overrideCursor());
    test::PressKey(Qt::Key_Escape);
    QVERIFY(!window.preview_shown());
  }

  // Ctrl-click, shift-click, the arrow keys and a band drawn over the thumbnails.
  void theIconViewSelectsWithModifiersKeysAndABand() {
    MainWindow window(*context_, dialogs_);
    window.AddPaths(FourPictures());
    QVERIFY(test::ActivateWindow(window));
    auto& icons = *test::Find<QListView>(window, "picture_icons");

    test::ClickRow(icons, 0);
    test::ClickRow(icons, 2, Qt::ControlModifier);
    QCOMPARE(window.selection_status(), QString("选中了 2 张图片"));
    test::ClickRow(icons, 0, Qt::ControlModifier);
    QVERIFY2(window.selection_status().startsWith("尺寸: 10 x 10"),
             qPrintable(window.selection_status()));
    test::ClickRow(icons, 0);
    test::ClickRow(icons, 2, Qt::ShiftModifier);
    QCOMPARE(window.selection_status(), QString("选中了 3 张图片"));

    QCOMPARE(QApplication::focusWidget(), &icons);
    test::PressKey(Qt::Key_Left);
    QVERIFY2(window.selection_status().startsWith("尺寸: 20 x 30"),
             qPrintable(window.selection_status()));
    test::PressKey(Qt::Key_Right, Qt::ShiftModifier);
    QCOMPARE(window.selection_status(), QString("选中了 2 张图片"));
    QVERIFY(window.action("rotate_right")->isEnabled());

    // From empty space below the first row to the middle of the second thumbnail: the first two.
    const QRect first = icons.visualRect(window.model().index(0, 0));
    const QRect second = icons.visualRect(window.model().index(1, 0));
    QCOMPARE(icons.visualRect(window.model().index(3, 0)).top(), first.top());
    const QPoint below(first.center().x(), icons.viewport()->height() - 10);
    QVERIFY(!icons.indexAt(below).isValid());
    test::DragBetween(icons.viewport(), below, second.center());
    QCOMPARE(window.selection_status(), QString("选中了 2 张图片"));
    test::PressKey(Qt::Key_Delete);
    QCOMPARE(window.model().rowCount(), 2);
    QCOMPARE(window.model().index(0, 0).data().toString(), QString("c.gif"));
  }

  // Without thumbnails the report view takes the same gestures, and its context menu removes.
  void theReportViewSelectsWithThePointerAndTheKeys() {
    MainWindow window(*context_, dialogs_);
    window.AddPaths(FourPictures());
    QVERIFY(test::ActivateWindow(window));
    auto& icons = *test::Find<QListView>(window, "picture_icons");
    test::ClickInNextMenu("显示缩略图");
    test::RightClickRow(icons, 0);
    auto& report = *test::Find<QTreeView>(window, "picture_report");
    QVERIFY(report.isVisible());
    PictureListModel& model = window.model();

    test::ClickRow(report, 0);
    QVERIFY2(window.selection_status().startsWith("尺寸: 30 x 20"),
             qPrintable(window.selection_status()));
    test::PressKey(Qt::Key_Down);
    QVERIFY2(window.selection_status().startsWith("尺寸: 20 x 30"),
             qPrintable(window.selection_status()));
    test::PressKey(Qt::Key_Down, Qt::ShiftModifier);
    QCOMPARE(window.selection_status(), QString("选中了 2 张图片"));
    test::ClickRow(report, 3, Qt::ControlModifier);
    QCOMPARE(window.selection_status(), QString("选中了 3 张图片"));
    test::ClickRow(report, 0);
    test::ClickRow(report, 3, Qt::ShiftModifier);
    QCOMPARE(window.selection_status(), QString("选中了 4 张图片"));

    // A click on empty space leaves nothing selected; a drag over the rows selects them.
    const QRect last = report.visualRect(model.index(3, 0));
    const QPoint empty(last.center().x(), last.bottom() + 40);
    QVERIFY(!report.indexAt(empty).isValid());
    QTest::mouseClick(report.viewport(), Qt::LeftButton, {}, empty);
    QCOMPARE(window.selection_status(), QString());
    test::DragBetween(report.viewport(), test::RowCentre(report, 2), test::RowCentre(report, 0));
    QCOMPARE(window.selection_status(), QString("选中了 3 张图片"));

    test::ClickInNextMenu("移除选中");
    test::RightClickRow(report, 1);
    QCOMPARE(model.rowCount(), 1);
    QCOMPARE(model.index(0, 0).data().toString(), QString("d.png"));

    test::DoubleClickRow(report, 0);
    QTRY_VERIFY(window.preview_shown());
    QVERIFY(window.windowTitle().endsWith(" - d.png"));
    test::PressKey(Qt::Key_Escape);
    QCOMPARE(QApplication::focusWidget(), &report);
    test::PressKey(Qt::Key_Delete);
    QCOMPARE(model.rowCount(), 0);

    dialogs_.picked_title.clear();
    test::DoubleClickAt(report.viewport(), report.viewport()->rect().center());
    QCOMPARE(dialogs_.picked_title, QString("选择图片 - 支持多选"));

    test::ClickInNextMenu("显示缩略图");
    test::RightClickAt(report.viewport(), report.viewport()->rect().center());
    QVERIFY(icons.isVisible());
  }

  // Driven from outside as a screen reader or UI automation drives it: the rows are named by their
  // pictures, a row's own action selects it, the toolbar's buttons are named by their texts and
  // pressed through their actions.
  void theListAndTheToolbarAreDrivenThroughTheAccessibilityTree() {
    MainWindow window(*context_, dialogs_);
    window.AddPaths({pictures_ / "a.jpg", pictures_ / "<b>x<i> & y.png"});
    QVERIFY(test::ActivateWindow(window));
    auto& icons = *test::Find<QListView>(window, "picture_icons");
    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(&icons);
    QVERIFY(list);
    QCOMPARE(list->text(QAccessible::Name), QString("图片列表"));
    QAccessibleTableInterface* table = list->tableInterface();
    QVERIFY(table);
    QCOMPARE(table->rowCount(), 2);
    QAccessibleInterface* row = table->cellAt(1, 0);
    QVERIFY(row);
    QCOMPARE(row->text(QAccessible::Name), QString("<b>x<i> & y.png"));
    QAccessibleActionInterface* row_actions = row->actionInterface();
    QVERIFY(row_actions);
    QVERIFY(row_actions->actionNames().contains(QAccessibleActionInterface::toggleAction()));
    row_actions->doAction(QAccessibleActionInterface::toggleAction());
    QVERIFY2(window.selection_status().startsWith("尺寸: 10 x 10"),
             qPrintable(window.selection_status()));
    QVERIFY(row->state().selected);

    QAccessibleInterface* root = QAccessible::queryAccessibleInterface(&window);
    QAccessibleInterface* turn = test::FindAccessible(root, QAccessible::Button, "图片右转");
    QVERIFY(turn);
    QVERIFY(!turn->state().disabled);
    QVERIFY(turn->actionInterface());
    turn->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QTRY_COMPARE(window.model().list()[1].rotation, 90);
    QCOMPARE(window.model().list()[0].rotation, 0);
    for (const char* text : {"添加图片", "添文件夹", "移除图片", "效果预览", "开始处理", "格式转换"}) {
      QVERIFY2(test::FindAccessible(root, QAccessible::Button, text), text);
    }
    QAccessibleInterface* remove = test::FindAccessible(root, QAccessible::Button, "移除图片");
    remove->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QTRY_COMPARE(window.model().rowCount(), 1);
  }

  void foldersAskForTheirSubFoldersAndTheMenusStoreTheirChoices() {
    MainWindow window(*context_, dialogs_);
    dialogs_.asked.clear();
    dialogs_.yes_no = {true};
    window.AddPaths({pictures_ / "album"});
    QCOMPARE(dialogs_.asked, QStringList({"是否需要加载所有子文件夹中的图片？"}));
    QCOMPARE(window.model().rowCount(), 2);

    const int parse = ReadPreference(context_->store, pref::kIsReadFileParseFileFormat);
    QMenu* menu = window.BuildSettingsMenu();
    for (QAction* act : menu->actions()) {
      if (act->text() == "解析图片文件获取真实的图片格式") act->trigger();
    }
    QCOMPARE(ReadPreference(context_->store, pref::kIsReadFileParseFileFormat), parse ? 0 : 1);
    QAction* swop = nullptr;
    for (QAction* act : menu->findChildren<QAction*>()) {
      if (act->text() == "U.S. Web Coated SWOP") swop = act;
    }
    QVERIFY(swop);
    swop->trigger();
    QCOMPARE(ReadPreference(context_->store, pref::kCmykDefaultIcc),
             std::string("USWebCoatedSWOP.icc"));

    dialogs_.told.clear();
    window.action("shortcut")->trigger();
    QCOMPARE(dialogs_.told, QStringList({QString("提示 | ") + kLauncherCreatedText}));
    const fs::path launcher = fs::path(DesktopFolder().toStdString()) / "图片批量处理工具.desktop";
    QVERIFY(test::ReadFile(launcher).find("Exec=\"" +
                                          QApplication::applicationFilePath().toStdString()) !=
            std::string::npos);
  }

  void balloonsInformationAndViewer() {
    MainWindow window(*context_, dialogs_);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    for (int i = 0; i < 8; ++i)
      window.balloons().Show(&window, "看这里", "第几个", MessageIcon::kWarning);
    QCOMPARE(window.balloons().open_count(), 1);
    QTest::mousePress(window.centralWidget(), Qt::LeftButton);
    QCOMPARE(window.balloons().open_count(), 0);

    // A line logged on another thread shows the information window.
    window.info_window().hide();
    std::thread([] { LogInfo("图片读取失败:\r\n/elsewhere/x.jpg"); }).join();
    QTRY_VERIFY(window.info_window().isVisible());
    QVERIFY(window.info_window().text().contains("/elsewhere/x.jpg"));

    // A picture beyond Qt's own size limit is shown.
    test::WritePicture(pictures_ / "tall.jpg", 1000, 40000, "JPEG");
    QVERIFY(window.viewer().ShowFile(QString::fromStdString((pictures_ / "tall.jpg").string()),
                                     QString::fromStdString(context_->folders.temp.string())));
    QCOMPARE(window.viewer().pane()->image().size(), QSize(1000, 40000));
    window.viewer().close();
  }

 private:
  // Of four sizes: 30 x 20, 20 x 30, 10 x 10 (GIF) and 10 x 10 (PNG).
  std::vector<fs::path> FourPictures() const {
    return {pictures_ / "a.jpg", pictures_ / "b.png", pictures_ / "c.gif",
            pictures_ / "album" / "d.png"};
  }

  test::ScriptedDialogs dialogs_;
  std::optional<AppContext> context_;
  fs::path pictures_;
};

}  // namespace brindle

int main(int argc, char** argv) {
  return brindle::test::RunAppTest<brindle::MainWindowTest>(argc, argv);
}

#include "main_window_test.moc"
