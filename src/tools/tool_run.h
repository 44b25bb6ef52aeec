#pragma once
// The run of a tool: the shared worker skeleton (run list, progress, picture by picture until done
// or stopped, the end-of-run outcome) and the worker thread that runs it with its running flag and
// stop request. Front ends fill in a job, start it, and watch it through a ToolObserver; the
// worker never waits on them.

#include <atomic>
#include <filesystem>
#include <functional>
#include <optional>
#include <thread>

#include "tools/tool_message.h"
#include "tools/tool_run_list.h"

namespace brindle {

enum class ToolRunEnd {
  kCompleted,     // every picture of the run list was taken
  kStopped,       // a stop request was seen
  kNothingFound,  // the run list was empty
  kAborted,       // a folder could not be made or a picture could not be written
};

struct ToolOutcome {
  ToolRunEnd end = ToolRunEnd::kCompleted;
  int total = 0;       // pictures in the run list
  int written = 0;     // pictures written
  int unreadable = 0;  // pictures that could not be read (logged) and were skipped
  int left_out = 0;    // paths too long for the program, left out of the run list
  // What to show at the end: StoppedMessage, NothingFoundMessage or the failure; none after a
  // completed run, which asks kCompletionQuestion instead.
  std::optional<ToolMessage> message;
  // The folder the completion question offers to open.
  std::filesystem::path folder_to_open;
};

// Events of a run, called on the worker's thread in this order. Log lines go to the InfoLog.
// OnRunEnded comes from ToolWorker, once the running flag is cleared.
class ToolObserver {
 public:
  virtual ~ToolObserver() = default;
  // The run list is ready: the progress runs from 0 to count.
  virtual void OnRunListReady(int count) { (void)count; }
  // The picture at index (0-based) is taken: the progress position.
  virtual void OnPictureStarted(int index, int count) { (void)index, (void)count; }
  // A path too long for the program was left out of the run list.
  virtual void OnLeftOut(const LongPathNotice& notice) { (void)notice; }
  // The run is over.
  virtual void OnRunEnded(const ToolOutcome& outcome) { (void)outcome; }
};

// How the work on one picture ended.
struct PictureResult {
  enum class End {
    kWritten,
    kUnreadable,  // logged; the run goes on
    kRunFailed,   // message says why; the run stops
  };
  End end = End::kWritten;
  ToolMessage message;

  static PictureResult Written() { return {}; }
  static PictureResult Unreadable() { return {End::kUnreadable, {}}; }
  static PictureResult Failed(ToolMessage message) { return {End::kRunFailed, std::move(message)}; }
};

struct ToolJob {
  RunListRequest run_list;
  // A run list made before the run (the crop tool makes it while validating). When set, nothing is
  // scanned; run_list only says whether sub-folders are mirrored in its output folder, which the
  // run then does.
  std::optional<RunList> prepared_list;
  std::filesystem::path folder_to_open;
  std::function<PictureResult(const ToolPicture& picture)> work;
};

// The worker skeleton: builds the run list, then works through it picture by picture while no
// stop is requested (a picture being worked on is always finished), and returns the outcome.
ToolOutcome RunToolJob(const ToolJob& job, ToolObserver& observer,
                       const std::atomic<bool>& stop_requested);

// The one worker thread of a tool window. The running flag is set from the start of a run to its
// end; the stop request is set by the window and cleared when a run starts or has ended stopped.
class ToolWorker {
 public:
  using Run = std::function<ToolOutcome(const std::atomic<bool>& stop_requested)>;

  ToolWorker() = default;
  ~ToolWorker();
  ToolWorker(const ToolWorker&) = delete;
  ToolWorker& operator=(const ToolWorker&) = delete;

  // Starts run on a new thread; when it has ended, the flags are updated and the observer's
  // OnRunEnded is called (on that thread). false when a run is going on or no thread can be
  // started.
  bool Start(Run run, ToolObserver& observer);
  bool running() const { return running_.load(); }
  void RequestStop() { stop_requested_.store(true); }
  bool stop_requested() const { return stop_requested_.load(); }
  // For a stop confirmed after the run had already ended.
  void ClearStopRequest() { stop_requested_.store(false); }
  // Waits for the current run, if any, to end.
  void Wait();

 private:
  std::thread thread_;
  std::atomic<bool> running_{false};
  std::atomic<bool> stop_requested_{false};
};

}  // namespace brindle
