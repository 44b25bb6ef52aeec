// Times the picture list's thumbnails as the desktop program makes them, with its own worker
// (one thread per processor) and its shared thumbnail cache in $XDG_CACHE_HOME, and the list's
// selection. One mode per run; each prints "key value" lines for bench/run-thumbs-bench.py.
//
// brindle_thumbnails_bench make PICTURES...    every thumbnail through the worker, no window:
//                                              "made N", "failed N", "seconds S"
// brindle_thumbnails_bench screen PICTURES...  the main window shown, the pictures added as a drop
//                                              adds them: "first_screen S" when the first 48 are shown
// brindle_thumbnails_bench memory PICTURES...  the main window with every thumbnail made:
//                                              "made N", "rss_mib M" once the worker is idle
// brindle_thumbnails_bench select PICTURES...  the main window listing them, Ctrl+A pressed on its
//                                              icon view: "select_all S", "selected N", "accessible 0|1"
// PICTURES may be given as one folder-free list file with "@FILE" (one path a line).

#include <QAccessible>
#include <QApplication>
#include <QElapsedTimer>
#include <QListView>
#include <QTest>
#include <QThread>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "app/dialogs/dialogs.h"
#include "app/list/picture_list_model.h"
#include "app/list/thumbnail_worker.h"
#include "app/main/app_context.h"
#include "app/main/app_start.h"
#include "app/main/main_window.h"
#include "platform/files/app_folders.h"
#include "platform/magick/magick_environment.h"
#include "platform/magick/pixel_memory_pool.h"
#include "window_rules/list/shared_thumbnail.h"

namespace {

namespace fs = std::filesystem;
constexpr int kFirstScreen = 48;

std::vector<fs::path> Pictures(int argc, char** argv) {
  std::vector<fs::path> pictures;
  for (int i = 2; i < argc; ++i) {
    if (argv[i][0] == '@') {
      std::ifstream list(argv[i] + 1);
      for (std::string line; std::getline(list, line);) {
        if (!line.empty()) pictures.emplace_back(line);
      }
    } else {
      pictures.emplace_back(argv[i]);
    }
  }
  return pictures;
}

long ResidentKib() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
  }
  return -1;
}

// Runs the event loop until done() or the seconds pass; false on the timeout.
template <typename Done>
bool WaitFor(Done done, int seconds) {
  QElapsedTimer timer;
  timer.start();
  while (!done()) {
    if (timer.elapsed() > seconds * 1000) return false;
    QApplication::processEvents(QEventLoop::AllEvents, 5);
    QThread::msleep(1);
  }
  return true;
}

int MakeAll(const std::vector<fs::path>& pictures) {
  brindle::ThumbnailWorker worker(brindle::SharedThumbnailFolder());
  std::atomic<int> made{0}, failed{0};
  QObject::connect(
      &worker, &brindle::ThumbnailWorker::Made, &worker,
      [&](const QString&, const QImage& image, bool) { ++(image.isNull() ? failed : made); },
      Qt::DirectConnection);
  const auto start = std::chrono::steady_clock::now();
  int row = 0;
  for (const fs::path& picture : pictures) {
    const QString path = QString::fromStdString(picture.string());
    worker.Request({brindle::ThumbnailKey(path, 0, false), path, 0, false, row, false}, 0);
    ++row;
  }
  const int total = static_cast<int>(pictures.size());
  while (made + failed < total) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("workers %d\nmade %d\nfailed %d\nseconds %.3f\n", worker.workers(), made.load(),
              failed.load(), seconds);
  return failed == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s make|screen|memory|select PICTURES...\n", argv[0]);
    return 2;
  }
  const std::string mode = argv[1];
  const std::vector<fs::path> pictures = Pictures(argc, argv);
  QApplication app(argc, argv);
  brindle::PrepareApplication();
  const brindle::AppFolders folders = brindle::AppFolders::ForCurrentUser();
  brindle::UsePixelMemoryPool();
  brindle::MagickEnvironment magick(folders.MagickConfigFolder());
  if (!magick.usable()) {
    std::fprintf(stderr, "%s\n", magick.error().c_str());
    return 2;
  }
  if (mode == "make") return MakeAll(pictures);

  brindle::Dialogs dialogs;
  std::optional<brindle::AppContext> context = brindle::LoadAppContext(folders, dialogs);
  if (!context) return 2;
  brindle::MainWindow window(*context, dialogs);
  window.show();
  if (!QTest::qWaitForWindowExposed(&window)) return 2;
  brindle::PictureListModel& model = window.model();
  const int total = static_cast<int>(pictures.size());

  if (mode == "screen") {
    QElapsedTimer timer;
    timer.start();
    window.AddPaths(pictures);
    const int shown = std::min(kFirstScreen, total);
    const bool done = WaitFor(
        [&] {
          for (int row = 0; row < shown; ++row) {
            if (!model.HasThumbnail(row)) return false;
          }
          return true;
        },
        120);
    std::printf("listed %d\nfirst_screen %.3f\n", model.rowCount(), timer.elapsed() / 1000.0);
    return done && model.rowCount() == total ? 0 : 1;
  }
  if (mode == "memory") {
    window.AddPaths(pictures);
    const bool done = WaitFor(
        [&] {
          if (model.worker().pending() != 0) return false;
          for (int row = 0; row < model.rowCount(); ++row) {
            if (!model.HasThumbnail(row)) return false;
          }
          return true;
        },
        1800);
    // The last results and repaints settle.
    WaitFor([] { return false; }, 1);
    int made = 0;
    for (int row = 0; row < model.rowCount(); ++row) made += model.HasThumbnail(row) ? 1 : 0;
    std::printf("listed %d\nmade %d\nrss_mib %.1f\n", model.rowCount(), made,
                ResidentKib() / 1024.0);
    return done && made == total ? 0 : 1;
  }
  if (mode == "select") {
    window.AddPaths(pictures);
    auto* view = window.findChild<QListView*>("picture_icons");
    view->setFocus();
    // The accessibility bridge comes up once the session's accessibility bus answers.
    if (qEnvironmentVariableIsSet("QT_LINUX_ACCESSIBILITY_ALWAYS_ON")) {
      WaitFor([] { return QAccessible::isActive(); }, 20);
    }
    WaitFor([] { return false; }, 1);
    QElapsedTimer timer;
    timer.start();
    QTest::keyClick(view, Qt::Key_A, Qt::ControlModifier);
    QApplication::processEvents();
    const double seconds = timer.elapsed() / 1000.0;
    const QString expected = QString("选中了 %1 张图片").arg(total);
    std::printf("listed %d\nselect_all %.3f\nselected_text %s\naccessible %d\n", model.rowCount(),
                seconds, window.selection_status().toUtf8().constData(),
                QAccessible::isActive() ? 1 : 0);
    return window.selection_status() == expected ? 0 : 1;
  }
  std::fprintf(stderr, "unknown mode %s\n", mode.c_str());
  return 2;
}
