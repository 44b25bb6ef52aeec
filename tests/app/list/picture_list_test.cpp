// The main window's picture list: its thumbnails (made in order, shared with the desktop, made
// again after a run writes over the files) and the selection and removal of many pictures, driven
// by keys and clicks on Qt's offscreen platform with temporary XDG folders.
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QListView>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <filesystem>

#include "app/app_test_main.h"
#include "app/list/picture_list_model.h"
#include "app/list/thumbnail_worker.h"
#include "app/main/main_window.h"
#include "app/main/progress_window.h"
#include "app/scripted_dialogs.h"
#include "panel/values/panel_controls.h"
#include "png8/png_encode.h"
#include "support/test_support.h"
#include "window_rules/list/shared_thumbnail.h"

namespace brindle {
namespace {

namespace fs = std::filesystem;
namespace pc = panel_control;

bool IsWhite(const QImage& image, int x, int y) {
  const QColor colour = image.pixelColor(x, y);
  return colour.red() > 245 && colour.green() > 245 && colour.blue() > 245;
}

}  // namespace

class PictureListTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    context_ = test::StartTestProgram(dialogs_);
    QVERIFY(context_);
    pictures_ = fs::path(QDir::homePath().toStdString()) / "pictures";
    fs::create_directories(pictures_);
  }

  // Within a round the rows go top-down; a later round (the rows just shown) goes first.
  void theRowsShownLastAreMadeFirstTopDown() {
    test::WritePicture(pictures_ / "one.jpg", 400, 300, "JPEG");
    ThumbnailWorker worker({}, 1);
    QSignalSpy started(&worker, &ThumbnailWorker::Started);
    const QString path = QString::fromStdString((pictures_ / "one.jpg").string());
    for (int row = 0; row < 10; ++row) {
      worker.Request({QString("k%1").arg(row), path, row * 90 % 360, row >= 4, row, false}, 0);
    }
    for (int row = 14; row >= 10; --row) {
      worker.Request({QString("k%1").arg(row), path, 0, false, row, false}, 1);
    }
    QTRY_COMPARE(started.count(), 15);
    QTRY_COMPARE(worker.pending(), 0);
    QList<int> order;
    for (const QList<QVariant>& signal : started) order << signal.at(0).toInt();
    // The worker may have taken the first rows of round 0 before round 1 was asked.
    const int taken_early = static_cast<int>(order.indexOf(10));
    QVERIFY(taken_early >= 0 && taken_early <= 3);
    QCOMPARE(order.mid(taken_early, 5), QList<int>({10, 11, 12, 13, 14}));
    QList<int> rest = order.mid(0, taken_early) + order.mid(taken_early + 5);
    QList<int> sorted = rest;
    std::sort(sorted.begin(), sorted.end());
    QCOMPARE(rest, sorted);
  }

  void thumbnailsAreSharedWithTheDesktopAndReadBack() {
    const fs::path folder = pictures_ / "shared";
    fs::create_directories(folder);
    for (int i = 0; i < 6; ++i) {
      test::WritePicture(folder / ("p" + std::to_string(i) + ".jpg"), 300 + i, 200, "JPEG");
    }
    const fs::path cache = SharedThumbnailFolder();
    QCOMPARE(cache, fs::path(qEnvironmentVariable("XDG_CACHE_HOME").toStdString()) /
                        "thumbnails/normal");
    {
      MainWindow window(*context_, dialogs_);
      ShowActive(window);
      QStringList texts;
      connect(&window.model(), &PictureListModel::ThumbnailStarted, &window,
              [&] { texts << window.list_status(); });
      window.AddPaths({folder});
      QTRY_COMPARE(window.model().worker().pending(), 0);
      QTRY_COMPARE(window.list_status(), QString("6 张图片"));
      QVERIFY(texts.size() >= 6);
      QVERIFY(texts.contains("6 张图片, 正在生成第 1 张图片的缩略图..."));
      QVERIFY(texts.contains("6 张图片, 正在生成第 6 张图片的缩略图..."));
      for (int row = 0; row < 6; ++row) {
        QCOMPARE(window.model().ThumbnailOf(row).size(), QSize(96, 96));
      }
    }
    // Each picture's 128-pixel thumbnail is in the desktop's cache under the MD5 of its URI.
    for (int i = 0; i < 6; ++i) {
      const fs::path picture = folder / ("p" + std::to_string(i) + ".jpg");
      const fs::path shared = cache / SharedThumbnailName(ThumbnailUri(picture));
      QVERIFY2(fs::exists(shared), shared.c_str());
      DecodedPng png;
      QCOMPARE(DecodeRgbaPng(test::ReadFile(shared), png), 0u);
      QCOMPARE(png.width, 128u);
    }
    // A new window reads them instead of the pictures: a grey one in the cache shows grey.
    const fs::path first = folder / "p0.jpg";
    std::optional<ThumbnailSource> source = ThumbnailSourceOf(first);
    QVERIFY(source);
    SharedThumbnail grey{128, 85, std::vector<std::uint8_t>(128 * 85 * 4, 90), 300, 200};
    for (std::size_t i = 3; i < grey.rgba.size(); i += 4) grey.rgba[i] = 255;
    test::WriteFile(cache / SharedThumbnailName(source->uri), EncodeSharedThumbnail(grey, *source));
    MainWindow window(*context_, dialogs_);
    ShowActive(window);
    window.AddPaths({first});
    QTRY_VERIFY(!window.model().ThumbnailOf(0).isNull());
    const QColor centre = window.model().ThumbnailOf(0).toImage().pixelColor(48, 48);
    QVERIFY2(qAbs(centre.red() - 90) < 8 && qAbs(centre.blue() - 90) < 8,
             qPrintable(centre.name()));
  }

  void aRunThatWritesOverAPictureRemakesItsThumbnail() {
    const fs::path folder = pictures_ / "originals";
    fs::create_directories(folder);
    test::WritePicture(folder / "wide.jpg", 300, 200, "JPEG");
    MainWindow window(*context_, dialogs_);
    ShowActive(window);
    window.AddPaths({folder / "wide.jpg"});
    PictureListModel& model = window.model();
    QTRY_VERIFY(!model.ThumbnailOf(0).isNull());
    QVERIFY(!IsWhite(model.ThumbnailOf(0).toImage(), 5, 48));  // landscape: fills the width

    window.selection().select(model.index(0, 0),
                              QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    window.action("rotate_right")->trigger();
    QTRY_VERIFY(!model.ThumbnailOf(0).isNull());
    QVERIFY(IsWhite(model.ThumbnailOf(0).toImage(), 5, 48));  // turned: portrait
    dialogs_.yes_no = {true};
    test::Find<QRadioButton>(window, pc::kOverwrite)->click();
    window.action("start")->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(!window.running() && !window.progress().isVisible(), 30000);
    QCOMPARE(QImage(QString::fromStdString((folder / "wide.jpg").string())).size(),
             QSize(200, 300));
    // The entry is upright again and its thumbnail shows the new, portrait file.
    QCOMPARE(model.list()[0].rotation, 0);
    QTRY_VERIFY(!model.ThumbnailOf(0).isNull());
    QVERIFY(IsWhite(model.ThumbnailOf(0).toImage(), 5, 48));
    QVERIFY(!IsWhite(model.ThumbnailOf(0).toImage(), 48, 5));
  }

  void allSelectedByKeysAndRemovedAroundTwoTakenOut() {
    const fs::path folder = pictures_ / "ten";
    fs::create_directories(folder);
    for (int i = 0; i < 10; ++i) {
      test::WritePicture(folder / ("t" + std::to_string(i) + ".png"), 20, 20, "PNG");
    }
    MainWindow window(*context_, dialogs_);
    ShowActive(window);
    window.AddPaths({folder});
    auto* view = test::Find<QListView>(window, "picture_icons");
    QCOMPARE(view->model()->rowCount(), 10);
    view->setFocus();
    QTest::keyClick(view, Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(window.selection_status(), QString("选中了 10 张图片"));
    // Ctrl with the arrows moves without selecting; Ctrl+Space takes the current picture out.
    QTest::keyClick(view, Qt::Key_Home, Qt::ControlModifier);
    for (int step = 0; step < 7; ++step) {
      QTest::keyClick(view, Qt::Key_Right, Qt::ControlModifier);
      if (step == 2 || step == 6) QTest::keyClick(view, Qt::Key_Space, Qt::ControlModifier);
    }
    QCOMPARE(window.selection_status(), QString("选中了 8 张图片"));
    QSignalSpy removed(view->model(), &QAbstractItemModel::rowsRemoved);
    QTest::keyClick(view, Qt::Key_Delete);
    QCOMPARE(view->model()->rowCount(), 2);
    QCOMPARE(view->model()->index(0, 0).data().toString(), QString("t3.png"));
    QCOMPARE(view->model()->index(1, 0).data().toString(), QString("t7.png"));
    QCOMPARE(removed.count(), 3);  // three runs of rows, not eight rows
    QVERIFY(window.list_status().startsWith("2 张图片"));
  }

 private:
  static void ShowActive(MainWindow& window) {
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
  }

  test::ScriptedDialogs dialogs_;
  std::optional<AppContext> context_;
  fs::path pictures_;
};

}  // namespace brindle

int main(int argc, char** argv) {
  return brindle::test::RunAppTest<brindle::PictureListTest>(argc, argv);
}

#include "picture_list_test.moc"
