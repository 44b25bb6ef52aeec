// Where the windows and hints stand and how the picture pane draws: the main window centred on the
// screen, the preview tip beside the first picture, a shrunk picture without moiré and a picture
// shown at its physical size.
#include <QApplication>
#include <QListView>
#include <QScreen>
#include <QTest>
#include <filesystem>

#include "app/app_test_main.h"
#include "app/dialogs/balloon_hints.h"
#include "app/list/picture_list_model.h"
#include "app/main/main_window.h"
#include "app/scripted_dialogs.h"
#include "app/widgets/picture_pane.h"
#include "prefs/preferences.h"
#include "support/test_support.h"

namespace brindle {
namespace {

namespace fs = std::filesystem;

// A picture of one-pixel black and white stripes, the pattern that shows moiré when sampled.
QImage Stripes(int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) image.setPixel(x, y, x % 2 ? 0xFFFFFFFF : 0xFF000000);
  }
  return image;
}

}  // namespace

class PlacementTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    context_ = test::StartTestProgram(dialogs_);
    QVERIFY(context_);
  }

  void theMainWindowOpensInTheMiddleOfTheScreen() {
    MainWindow window(*context_, dialogs_);
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    const int x = area.x() + (area.width() - window.width()) / 2;
    const int y = std::max(area.y(), area.y() + (area.height() - window.height()) / 2 - 26);
    QCOMPARE(window.pos(), QPoint(x, y));
  }

  void thePreviewTipPointsBesideTheFirstPicture() {
    test::TempFolder folder;
    test::WritePicture(folder / "a.png", 40, 30, "PNG");
    test::WritePicture(folder / "b.png", 40, 30, "PNG");
    WritePreference(context_->store, pref::kShowPreviewTipTimes, 0);
    MainWindow window(*context_, dialogs_);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.AddPaths({folder / "a.png", folder / "b.png"});
    QCOMPARE(window.balloons().open_texts(),
             QStringList({"双击图片进入【效果预览】模式 | "
                          "窗口右侧的图片处理设置选项，可通过效果预览查看处理后的效果。"}));
    auto* view = window.findChild<QListView*>();
    QVERIFY(view && view->isVisible());
    const QRect first = view->visualRect(window.model().index(0, 0));
    const QPoint expected = view->viewport()->mapToGlobal(first.topLeft() + QPoint(50, 100));
    QWidget* balloon = nullptr;
    for (QWidget* open : window.findChildren<QWidget*>("balloon_hint")) {
      if (open->isVisible()) balloon = open;
    }
    QVERIFY(balloon);
    QCOMPARE(balloon->property("points_at").toPoint(), expected);
    // Its tail reaches the point from below: the balloon's top edge is at the point.
    QCOMPARE(balloon->geometry().top(), expected.y());
    QVERIFY(balloon->geometry().left() <= expected.x() &&
            expected.x() <= balloon->geometry().right());
    QVERIFY(window.geometry().contains(expected));
    QCOMPARE(ReadPreference(context_->store, pref::kShowPreviewTipTimes), 1);
  }

  void aShrunkPictureIsAveragedNotSampled() {
    PicturePane pane;
    pane.resize(316, 316);
    pane.show();
    QVERIFY(QTest::qWaitForWindowExposed(&pane));
    pane.ShowImage(Stripes(1201, 1201));
    pane.SetFit(true);
    const QImage shown = pane.viewport()->grab().toImage();
    QVERIFY(pane.zoom() < 0.3F);
    // Inside the drawn picture every pixel is a mid grey: the stripes averaged, no bands.
    const QRect inside = QRect(QPoint(0, 0), pane.viewport()->size()).adjusted(60, 60, -60, -60);
    int darkest = 255;
    int lightest = 0;
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
      for (int x = inside.left(); x <= inside.right(); ++x) {
        const int grey = qGray(shown.pixel(x, y));
        darkest = std::min(darkest, grey);
        lightest = std::max(lightest, grey);
      }
    }
    QVERIFY2(darkest > 100 && lightest < 155,
             qPrintable(QString("%1 .. %2").arg(darkest).arg(lightest)));
  }

  void aPictureIsShownAtItsPhysicalSize() {
    PicturePane pane;
    QImage image = Stripes(300, 200);
    // 72 pixels per inch
    image.setDotsPerMeterX(2835);
    image.setDotsPerMeterY(2835);
    pane.ShowImage(image);
    const int dpi = pane.logicalDpiX();
    QCOMPARE(pane.natural_size().width(), qRound(300.0 * dpi / 72));
    QCOMPARE(pane.natural_size().height(), qRound(200.0 * pane.logicalDpiY() / 72));
    QCOMPARE(pane.image().size(), QSize(300, 200));
  }

 private:
  test::ScriptedDialogs dialogs_;
  std::optional<AppContext> context_;
};

}  // namespace brindle

int main(int argc, char** argv) {
  return brindle::test::RunAppTest<brindle::PlacementTest>(argc, argv);
}

#include "placement_test.moc"
