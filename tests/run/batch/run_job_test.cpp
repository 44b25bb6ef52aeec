#include "run/batch/run_job.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <new>

#include "base/info_log.h"
#include "support/test_support.h"

namespace brindle {
namespace {

namespace fs = std::filesystem;
using test::TempFolder;

class RecordingObserver : public RunObserver {
 public:
  void OnRunListReady(int count) override { events.push_back("ready " + std::to_string(count)); }
  void OnPictureStarted(int index, int count) override {
    events.push_back("picture " + std::to_string(index) + "/" + std::to_string(count));
  }
  void OnPictureDone(const PictureOutcome& outcome) override { outcomes.push_back(outcome); }
  void OnLeftOut(const LongPathNotice& notice) override {
    events.push_back("left out " + notice.path.filename().string());
  }
  void OnRunEnded(const RunOutcome& outcome) override {
    std::lock_guard<std::mutex> lock(mutex);
    ended = outcome;
    running_when_ended = worker ? worker->running() : false;
    done.notify_all();
  }
  std::vector<std::string> events;
  std::vector<PictureOutcome> outcomes;
  std::mutex mutex;
  std::condition_variable done;
  std::optional<RunOutcome> ended;
  const RunWorker* worker = nullptr;
  bool running_when_ended = true;
};

class ToolRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {"a.png", "b.png", "c.png"}) test::WriteFile(folder / name, "x");
    job.run_list.source_folder = folder.path();
    job.run_list.pattern = "*.png";
    job.folder_to_open = folder / "out";
  }
  TempFolder folder;
  ToolJob job;
  RecordingObserver observer;
  std::atomic<bool> stop{false};
};

TEST_F(ToolRunTest, EveryPictureInOrderWithProgress) {
  std::vector<std::string> seen;
  job.work = [&](const ToolPicture& picture) {
    seen.push_back(picture.path.filename().string());
    return picture.path.filename() == "b.png" ? PictureResult::Unreadable()
                                              : PictureResult::Written();
  };
  RunOutcome outcome = RunToolJob(job, observer, stop);
  EXPECT_EQ(seen, (std::vector<std::string>{"a.png", "b.png", "c.png"}));
  EXPECT_EQ(observer.events,
            (std::vector<std::string>{"ready 3", "picture 0/3", "picture 1/3", "picture 2/3"}));
  EXPECT_EQ(outcome.end, RunEnd::kCompleted);
  EXPECT_EQ(outcome.total, 3);
  EXPECT_EQ(outcome.written, 2);
  EXPECT_EQ(outcome.failed, 1);
  EXPECT_FALSE(outcome.message);
  EXPECT_EQ(outcome.folder_to_open, folder / "out");
}

// Two workers on pictures that all want the same name: the names go in list order, as one worker
// gives them, every picture is done once, and a picture that fails gives its name back. The one
// that fails is the last: a failure earlier in the list frees a name that a later picture may
// already have passed by, which is the one way several workers' names differ from one worker's.
TEST_F(ToolRunTest, SeveralWorkersNameThePicturesInListOrder) {
  for (int i = 0; i < 12; ++i)
    test::WriteFile(folder / ("p" + std::to_string(i + 10) + ".png"), "x");
  test::WriteFile(folder / "z.png", "x");
  fs::create_directory(folder / "out");
  job.target = [&](const ToolPicture&) {
    fs::path name = folder / "out" / "same.txt";
    for (int n = 2; fs::exists(name); ++n) {
      name = folder / "out" / ("same(" + std::to_string(n) + ").txt");
    }
    return name;
  };
  job.new_names = true;
  job.workers = 2;
  job.work = [&](const ToolPicture& picture) {
    if (picture.path.filename() == "z.png") return PictureResult::Unreadable();
    test::WriteFile(picture.target, picture.path.filename().string());
    return PictureResult::Written();
  };
  RunOutcome outcome = RunToolJob(job, observer, stop);
  EXPECT_EQ(outcome.end, RunEnd::kCompleted);
  EXPECT_EQ(outcome.written, 15);
  EXPECT_EQ(outcome.failed, 1);
  ASSERT_EQ(observer.outcomes.size(), 16u);
  // The list: a, b, c, p10 ... p21, z (unreadable, its same(16).txt removed again).
  EXPECT_EQ(test::ReadFile(folder / "out" / "same.txt"), "a.png");
  EXPECT_EQ(test::ReadFile(folder / "out" / "same(2).txt"), "b.png");
  EXPECT_EQ(test::ReadFile(folder / "out" / "same(3).txt"), "c.png");
  for (int i = 0; i < 12; ++i) {
    EXPECT_EQ(test::ReadFile(folder / "out" / ("same(" + std::to_string(i + 4) + ").txt")),
              "p" + std::to_string(i + 10) + ".png");
  }
  EXPECT_EQ(test::FilesIn(folder / "out").size(), 15u);
}

TEST_F(ToolRunTest, EachPictureReportsHowItEndedWithWhatWasLoggedForIt) {
  job.work = [&](const ToolPicture& picture) {
    if (picture.path.filename() == "a.png") throw std::bad_alloc();
    if (picture.path.filename() == "b.png") {
      LogInfo("图片读取失败:\r\nb.png");
      return PictureResult::Unreadable();
    }
    return PictureResult::Written();
  };
  RunOutcome outcome = RunToolJob(job, observer, stop);
  // The picture that threw fails alone; the run goes on.
  EXPECT_EQ(outcome.end, RunEnd::kCompleted);
  EXPECT_EQ(outcome.written, 1);
  EXPECT_EQ(outcome.failed, 2);
  ASSERT_EQ(observer.outcomes.size(), 3u);
  EXPECT_EQ(observer.outcomes[0].end, PictureEnd::kFailed);
  EXPECT_EQ(observer.outcomes[0].reason,
            "处理图片 " + (folder / "a.png").string() + " 时出错：内存不足");
  EXPECT_EQ(observer.outcomes[1].end, PictureEnd::kSkipped);
  EXPECT_EQ(observer.outcomes[1].reason, "图片读取失败:\r\nb.png");
  EXPECT_EQ(observer.outcomes[2].end, PictureEnd::kWritten);
  EXPECT_EQ(observer.outcomes[2].path, folder / "c.png");
  EXPECT_EQ(observer.outcomes[2].index, 2);
  EXPECT_EQ(observer.outcomes[2].reason, "");
}

TEST_F(ToolRunTest, FailedPictureStopsTheRunWithItsMessage) {
  int taken = 0;
  const RunMessage failure{"写入失败", "错误", MessageIcon::kError};
  job.work = [&](const ToolPicture&) {
    return ++taken == 2 ? PictureResult::Failed(failure) : PictureResult::Written();
  };
  RunOutcome outcome = RunToolJob(job, observer, stop);
  EXPECT_EQ(taken, 2);
  EXPECT_EQ(outcome.end, RunEnd::kAborted);
  EXPECT_EQ(outcome.message, failure);
  EXPECT_EQ(outcome.written, 1);
}

TEST_F(ToolRunTest, StopRequestIsSeenBeforeTheNextPicture) {
  int taken = 0;
  job.work = [&](const ToolPicture&) {
    if (++taken == 1) stop = true;  // as if the window asked while the first picture was worked on
    return PictureResult::Written();
  };
  RunOutcome outcome = RunToolJob(job, observer, stop);
  EXPECT_EQ(taken, 1);
  EXPECT_EQ(outcome.written, 1);
  EXPECT_EQ(outcome.end, RunEnd::kStopped);
  EXPECT_EQ(outcome.message, (RunMessage{"任务已中止", "提示", MessageIcon::kWarning}));
}

TEST_F(ToolRunTest, EmptyRunListAndFolderFailures) {
  job.work = [](const ToolPicture&) { return PictureResult::Written(); };
  job.run_list.pattern = "*.gif";
  RunOutcome nothing = RunToolJob(job, observer, stop);
  EXPECT_EQ(nothing.end, RunEnd::kNothingFound);
  EXPECT_EQ(nothing.message, (RunMessage{"没有找到需要处理的图片", "提示", MessageIcon::kWarning}));
  EXPECT_TRUE(observer.events.empty());

  job.run_list.pattern = "*.png";
  job.run_list.output_folder = folder / "no" / "out";
  RunOutcome failed = RunToolJob(job, observer, stop);
  EXPECT_EQ(failed.end, RunEnd::kAborted);
  ASSERT_TRUE(failed.message);
  EXPECT_EQ(failed.message->text.rfind("任务中止！\n\n创建文件夹 ", 0), 0u);
}

TEST_F(ToolRunTest, TooLongPathsAreLeftOutAndReported) {
  std::string long_name(130, 'x');
  fs::path deep = folder.path();
  while (deep.string().size() < 200) deep /= "sub";
  fs::create_directories(deep);
  test::WriteFile(deep / (long_name + ".png"), "x");
  job.run_list.include_sub_folders = true;
  job.work = [](const ToolPicture&) { return PictureResult::Written(); };
  RunOutcome outcome = RunToolJob(job, observer, stop);
  EXPECT_EQ(outcome.left_out, 1);
  EXPECT_EQ(outcome.total, 3);
  EXPECT_EQ(observer.events.front(), "left out " + long_name + ".png");
}

TEST_F(ToolRunTest, WorkerRunsOneJobAtATimeAndReportsTheEndAfterClearingItsFlags) {
  RunWorker worker;
  observer.worker = &worker;
  std::mutex gate_mutex;
  std::condition_variable gate;
  bool open = false;
  bool entered = false;
  job.work = [&](const ToolPicture&) {
    std::unique_lock<std::mutex> lock(gate_mutex);
    entered = true;
    gate.notify_all();
    gate.wait(lock, [&] { return open; });
    return PictureResult::Written();
  };
  auto run = [&](RunObserver& reporter, const std::atomic<bool>& stop_requested) {
    return RunToolJob(job, reporter, stop_requested);
  };
  ASSERT_TRUE(worker.Start(run, observer));
  EXPECT_TRUE(worker.running());
  EXPECT_FALSE(worker.Start(run, observer));  // refused while running
  {
    // Stop while the first picture is being worked on: it is finished, no other is taken.
    std::unique_lock<std::mutex> lock(gate_mutex);
    gate.wait(lock, [&] { return entered; });
    worker.RequestStop();
    open = true;
  }
  gate.notify_all();
  worker.Wait();
  EXPECT_FALSE(worker.running());
  ASSERT_TRUE(observer.ended);
  EXPECT_EQ(observer.ended->end, RunEnd::kStopped);
  EXPECT_EQ(observer.ended->written, 1);
  EXPECT_FALSE(observer.running_when_ended);
  EXPECT_FALSE(worker.stop_requested());  // cleared after the stopped run

  // A new run starts with a fresh stop request and goes to the end.
  observer.ended.reset();
  ASSERT_TRUE(worker.Start(run, observer));
  worker.Wait();
  ASSERT_TRUE(observer.ended);
  EXPECT_EQ(observer.ended->end, RunEnd::kCompleted);
  EXPECT_EQ(observer.ended->written, 3);
}

}  // namespace
}  // namespace brindle
