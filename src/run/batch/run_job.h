#pragma once
// Long work on a thread of its own, one way for the main batch and every tool: a job works through
// its pictures, reporting to a RunObserver, until it is done or asked to stop; a RunWorker runs one
// job at a time on a std::jthread, whose stop token sets the stop flag the job looks at between
// pictures.
//
// Threads: every RunObserver call is made on a thread of the run, never on the thread that started
// it; a window forwards them through queued signals. A run may work on several threads; its calls
// are made under one lock, in order, so an observer needs no lock of its own for them, but must not
// block. Log lines go to the process-wide InfoLog, which any thread may append to.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "run/batch/run_message.h"
#include "run/list/picture_scan.h"
#include "run/list/run_list.h"

namespace brindle {

enum class RunEnd {
  kCompleted,     // every picture of the run list was taken
  kStopped,       // a stop request was seen
  kNothingFound,  // the run list was empty
  kAborted,       // the run could not go on: message says why
};

// How the work on one picture ended.
enum class PictureEnd {
  kWritten,
  kSkipped,  // not taken: it could not be read or is not a picture the job handles
  kFailed,   // taken, but no result was written
  kStopped,  // left part-way at the user's stop request: neither written nor failed
};

struct PictureOutcome {
  int index = 0;  // in the run list (the main batch: in the picture list)
  std::filesystem::path path;
  PictureEnd end = PictureEnd::kWritten;
  // The log lines written for this picture, in the program's words: why it was skipped or failed.
  std::string reason;
};

struct RunOutcome {
  RunEnd end = RunEnd::kCompleted;
  int total = 0;     // pictures in the run list
  int written = 0;   // pictures written
  int failed = 0;    // pictures skipped or failed (each logged)
  int left_out = 0;  // paths too long for the program, left out of the run list
  // What to show at the end: StoppedMessage, NothingFoundMessage or the failure; none after a
  // completed run, which asks its completion question instead.
  std::optional<RunMessage> message;
  // The folder the completion question offers to open.
  std::filesystem::path folder_to_open;
};

// Events of a run, in this order: the run list, then for each picture its start and its outcome,
// then the end (from RunWorker, once it no longer counts as running).
class RunObserver {
 public:
  virtual ~RunObserver() = default;
  // The run list is ready: the progress runs from 0 to count.
  virtual void OnRunListReady(int count) { (void)count; }
  // The picture at index (0-based) is taken: the progress position.
  virtual void OnPictureStarted(int index, int count) { (void)index, (void)count; }
  virtual void OnPictureDone(const PictureOutcome& outcome) { (void)outcome; }
  // A path too long for the program was left out of the run list.
  virtual void OnLeftOut(const LongPathNotice& notice) { (void)notice; }
  virtual void OnRunEnded(const RunOutcome& outcome) { (void)outcome; }
};

// How the work on one picture of a tool run ended.
struct PictureResult {
  enum class End {
    kWritten,
    kUnreadable,  // logged; the run goes on
    kRunFailed,   // message says why; the run stops
    kStopped,     // left part-way at a stop request
  };
  End end = End::kWritten;
  RunMessage message;

  static PictureResult Written() { return {}; }
  static PictureResult Unreadable() { return {End::kUnreadable, {}}; }
  static PictureResult Failed(RunMessage message) { return {End::kRunFailed, std::move(message)}; }
  static PictureResult Stopped() { return {End::kStopped, {}}; }
};

// A tool's job: its run list and the work on each picture.
struct ToolJob {
  RunListRequest run_list;
  // A run list made before the run (the crop tool makes it while validating). When set, nothing is
  // scanned; run_list only says whether sub-folders are mirrored in its output folder, which the
  // run then does.
  std::optional<RunList> prepared_list;
  std::filesystem::path folder_to_open;
  // The file a picture is written to, set as its target before its work; null for tools that name
  // their own files. new_names: it chooses a free name in the output folder (rather than the
  // source itself), which several workers then choose in list order, each held by an empty file
  // until written, so that the names are those of one worker.
  std::function<std::filesystem::path(const ToolPicture& picture)> target;
  bool new_names = false;
  std::function<PictureResult(const ToolPicture& picture)> work;
  int workers = 1;  // pictures worked on at once
  // Each written target gets its source's modification time ("处理后保留原图片的修改时间").
  bool keep_time = false;
};

// The tools' worker skeleton: builds the run list, then works through it picture by picture (with
// job.workers threads) while no stop is requested (a picture being worked on is always finished),
// and returns the outcome. A picture whose work throws fails alone; one that fails the run stops
// the others from taking more.
RunOutcome RunToolJob(const ToolJob& job, RunObserver& observer,
                      const std::atomic<bool>& stop_requested);

// Runs `work` for one picture, collecting the log lines it writes on this thread as the outcome's
// reason; an exception fails the picture with its text logged. work returns the picture's end.
PictureOutcome RunOnePicture(int index, const std::filesystem::path& path,
                             const std::function<PictureEnd()>& work);

// The whole of a run, as a worker runs it.
using RunJob =
    std::function<RunOutcome(RunObserver& observer, const std::atomic<bool>& stop_requested)>;

// Runs one job at a time on its own thread. Not copyable; destroying it asks the run to stop and
// waits for it.
class RunWorker {
 public:
  RunWorker() = default;
  ~RunWorker();
  RunWorker(const RunWorker&) = delete;
  RunWorker& operator=(const RunWorker&) = delete;

  // Starts the job on a new thread; when it has ended, the worker no longer counts as running and
  // the observer's OnRunEnded is called (on that thread). A job that throws ends kAborted with the
  // message "任务中止！\n\n" and the reason. false when a run is going on or no thread can be
  // started.
  bool Start(RunJob job, RunObserver& observer);
  bool running() const { return running_.load(); }
  // Asks the run going on to stop: the pictures in hand are finished.
  void RequestStop() { thread_.request_stop(); }
  // A stop was asked for the run going on.
  bool stop_requested() const {
    return running_.load() && thread_.get_stop_token().stop_requested();
  }
  // Waits for the current run, if any, to end.
  void Wait();
  // Waits at most `timeout`; true when no run is going on afterwards.
  bool WaitFor(std::chrono::milliseconds timeout);

 private:
  std::jthread thread_;
  std::atomic<bool> running_{false};
  std::mutex end_lock_;
  std::condition_variable ended_;
};

}  // namespace brindle
