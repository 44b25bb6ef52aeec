// Requests made faster than their results: only the latest result reaches the window, a waiting
// job is dropped when a newer one comes, a cancel drops a late result, and the wait cursor shows
// once while a request is out and is gone after the last result or the cancel.
#include <QApplication>
#include <QCursor>
#include <QTest>
#include <atomic>
#include <semaphore>
#include <vector>

#include "app/app_test_main.h"
#include "app/preview/latest_request.h"

namespace brindle {

class LatestRequestTest : public QObject {
  Q_OBJECT

 private slots:
  void onlyTheLatestResultIsShownUnderOneWaitCursor() {
    std::vector<int> ran;  // written on the worker thread, read once it is idle
    std::vector<int> shown;
    std::binary_semaphore started(0);
    std::binary_semaphore release(0);
    {
      LatestRequest requests(LatestRequest::Cursor::kWait);
      // What shows a job's result.
      auto show = [&shown](int result) { return [&shown, result] { shown.push_back(result); }; };
      // A job that tells it is in hand, then waits to be let go.
      auto held = [&](int result) {
        return [&, result] {
          started.release();
          release.acquire();
          return show(result);
        };
      };
      requests.Ask([&] {
        ran.push_back(1);
        started.release();
        release.acquire();
        return show(1);
      });
      started.acquire();  // the first job is in hand
      requests.Ask([&] {
        ran.push_back(2);
        return show(2);
      });
      requests.Ask([&] {
        ran.push_back(3);
        return show(3);
      });
      QVERIFY(requests.pending());
      QVERIFY(QApplication::overrideCursor());
      QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
      release.release();

      QTRY_VERIFY(!requests.pending());
      QCOMPARE(shown, std::vector<int>{3});
      QCOMPARE(ran, (std::vector<int>{1, 3}));  // the second waited and was replaced
      // Three requests, one override cursor: the last result took it away.
      QVERIFY(!QApplication::overrideCursor());

      // A cancel while a job is in hand: its result never comes, the cursor goes at once.
      requests.Ask(held(4));
      started.acquire();
      requests.Cancel();
      QVERIFY(!requests.pending());
      QVERIFY(!QApplication::overrideCursor());
      release.release();
      // Results come back in the order their jobs ran: once the next one is shown, the
      // cancelled one has been passed over.
      requests.Ask([&] { return show(5); });
      QVERIFY(QApplication::overrideCursor());
      QTRY_COMPARE(shown, (std::vector<int>{3, 5}));
      QVERIFY(!QApplication::overrideCursor());

      // Gone while a job is in hand: the job finishes, nothing is shown, no cursor stays.
      requests.Ask(held(6));
      started.acquire();
      release.release();
    }
    QVERIFY(!QApplication::overrideCursor());
    QCoreApplication::processEvents();
    QCOMPARE(shown, (std::vector<int>{3, 5}));
  }

  void aRequestWithoutTheWaitCursorLeavesTheCursorAlone() {
    LatestRequest requests;
    QString shown;
    requests.Ask([&shown] {
      const QString made = "made";
      return [&shown, made] { shown = made; };
    });
    QVERIFY(requests.pending());
    QVERIFY(!QApplication::overrideCursor());
    QTRY_COMPARE(shown, QString("made"));
    QVERIFY(!requests.pending());
  }
};

}  // namespace brindle

int main(int argc, char** argv) {
  return brindle::test::RunAppTest<brindle::LatestRequestTest>(argc, argv);
}

#include "latest_request_test.moc"
