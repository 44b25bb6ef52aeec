// The desktop program's main window driven as a user would, on Qt's offscreen platform with
// temporary XDG folders.
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QItemSelectionModel>
#include <QMenu>
#include <QTest>
#include <QToolBar>
#include <QTreeView>
#include <filesystem>
#include <thread>

#include "app/app_context.h"
#include "app/app_start.h"
#include "app/balloon_hints.h"
#include "app/info_window.h"
#include "app/main_window.h"
#include "app/picture_list_model.h"
#include "app/picture_pane.h"
#include "app/picture_viewer.h"
#include "app_test_main.h"
#include "base/info_log.h"
#include "base/product_name.h"
#include "prefs/preferences.h"
#include "recipe/options_file.h"
#include "scripted_dialogs.h"
#include "shell/desktop_launcher.h"
#include "support/test_support.h"

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

    QItemSelectionModel& selection = window.selection();
    selection.select(model.index(0, 0),
                     QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    QVERIFY(window.selection_status().startsWith("尺寸: 30 x 20"));
    QVERIFY(window.action("rotate_right")->isEnabled());
    selection.select(model.index(1, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    QCOMPARE(window.selection_status(), QString("选中了 2 张图片"));

    window.action("rotate_right")->trigger();
    QCOMPARE(model.list()[0].rotation, 90);
    for (int turn = 0; turn < 3; ++turn) window.action("rotate_right")->trigger();
    QCOMPARE(model.list()[0].rotation, 0);
    QCOMPARE(model.list()[1].rotation, 0);

    // Thumbnails come from the worker through the event loop.
    QTRY_VERIFY(!model.ThumbnailOf(0).isNull());
    QCOMPARE(model.ThumbnailOf(0).size(), QSize(96, 96));

    window.action("remove_picture")->trigger();
    QCOMPARE(model.rowCount(), 2);
    QCOMPARE(model.index(0, 0).data().toString(), QString("c.gif"));
    QVERIFY(window.list_status().startsWith("2 张图片"));
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
  test::ScriptedDialogs dialogs_;
  std::optional<AppContext> context_;
  fs::path pictures_;
};

}  // namespace brindle

int main(int argc, char** argv) {
  return brindle::test::RunAppTest<brindle::MainWindowTest>(argc, argv);
}

#include "main_window_test.moc"
