#include "run/batch/run_job.h"

#include <algorithm>
#include <exception>
#include <new>
#include <system_error>
#include <vector>

#include "base/info_log.h"
#include "platform/files/file_stamp.h"
#include "run/target/name_turns.h"
#include "run/target/target_name.h"

namespace brindle {
namespace {

namespace fs = std::filesystem;

// Why a run or a picture could not go on after an exception, in the program's words.
std::string ExceptionReason(std::exception_ptr error) {
  try {
    std::rethrow_exception(error);
  } catch (const std::bad_alloc&) {
    return "内存不足";
  } catch (const std::exception& e) {
    return e.what();
  } catch (...) {
    return "未知错误";
  }
}

}  // namespace

PictureOutcome RunOnePicture(int index, const std::filesystem::path& path,
                             const std::function<PictureEnd()>& work) {
  PictureOutcome outcome;
  outcome.index = index;
  outcome.path = path;
  ThreadLogCapture capture;
  try {
    outcome.end = work();
  } catch (...) {
    LogInfo(FormatMessage("处理图片 %s 时出错：%s", path.c_str(),
                          ExceptionReason(std::current_exception()).c_str()));
    outcome.end = PictureEnd::kFailed;
  }
  outcome.reason = capture.Take();
  return outcome;
}

RunOutcome RunToolJob(const ToolJob& job, RunObserver& observer,
                      const std::atomic<bool>& stop_requested) {
  RunOutcome outcome;
  outcome.folder_to_open = job.folder_to_open;
  // Every way out returns `outcome` itself, so it is never copied.
  auto finish = [&outcome](RunEnd end, std::optional<RunMessage> message) {
    outcome.end = end;
    outcome.message = std::move(message);
  };

  RunList list;
  if (job.prepared_list) {
    list = *job.prepared_list;
    const RunListRequest& request = job.run_list;
    if (request.include_sub_folders && request.output_folder) {
      list.failure =
          MakeMirrorFolders(request.source_folder, *request.output_folder, stop_requested);
    }
  } else {
    list = BuildRunList(job.run_list, stop_requested);
  }
  outcome.left_out = static_cast<int>(list.notices.size());
  for (const LongPathNotice& notice : list.notices) observer.OnLeftOut(notice);
  if (list.failure) {
    finish(RunEnd::kAborted, list.failure);
    return outcome;
  }
  if (stop_requested.load()) {
    finish(RunEnd::kStopped, StoppedMessage());
    return outcome;
  }
  if (list.pictures.empty()) {
    finish(RunEnd::kNothingFound, NothingFoundMessage());
    return outcome;
  }

  const int count = static_cast<int>(list.pictures.size());
  outcome.total = count;
  observer.OnRunListReady(count);

  const bool reserve_names = job.workers >= 2 && job.target && job.new_names;
  std::mutex report_lock;  // taking the next picture, counting and every observer call
  int next = 0;
  std::optional<RunMessage> run_failure;
  OutputNameLock output_name_lock;
  NameTurns name_turns;
  auto work_through = [&] {
    for (;;) {
      int index = 0;
      {
        std::lock_guard<std::mutex> lock(report_lock);
        if (next >= count || run_failure || stop_requested.load()) return;
        index = next++;
        observer.OnPictureStarted(index, count);
      }
      ToolPicture picture = list.pictures[static_cast<std::size_t>(index)];
      std::optional<RunMessage> failure;
      PictureOutcome done = RunOnePicture(index, picture.path, [&] {
        std::optional<TargetReservation> reservation;
        if (reserve_names) {
          reservation = name_turns.Take(static_cast<std::size_t>(index), [&] {
            return TargetReservation::Reserve(
                [&]() -> std::optional<fs::path> { return job.target(picture); }, output_name_lock);
          });
          if (!reservation) return PictureEnd::kFailed;
          picture.target = reservation->path();
        } else if (job.target) {
          picture.target = job.target(picture);
        }
        const KeptFileTime source_time(picture.path, job.keep_time && job.target);
        PictureResult result = job.work(picture);
        switch (result.end) {
          case PictureResult::End::kWritten:
            if (reservation) reservation->Keep();
            source_time.ApplyTo(picture.target);
            return PictureEnd::kWritten;
          case PictureResult::End::kUnreadable:
            return PictureEnd::kSkipped;
          case PictureResult::End::kRunFailed:
            failure = std::move(result.message);
            return PictureEnd::kFailed;
          case PictureResult::End::kStopped:
            return PictureEnd::kStopped;
        }
        return PictureEnd::kFailed;
      });
      std::lock_guard<std::mutex> lock(report_lock);
      if (done.end == PictureEnd::kWritten) {
        ++outcome.written;
      } else if (done.end != PictureEnd::kStopped) {
        ++outcome.failed;
      }
      if (failure && done.reason.empty()) done.reason = failure->text;
      observer.OnPictureDone(done);
      if (failure && !run_failure) run_failure = std::move(failure);
    }
  };
  const int workers = std::clamp(job.workers, 1, count);
  {
    std::vector<std::jthread> others;
    for (int i = 1; i < workers; ++i) others.emplace_back(work_through);
    work_through();
  }
  if (run_failure) {
    finish(RunEnd::kAborted, std::move(run_failure));
    return outcome;
  }
  if (stop_requested.load()) {
    finish(RunEnd::kStopped, StoppedMessage());
    return outcome;
  }
  finish(RunEnd::kCompleted, std::nullopt);
  return outcome;
}

RunWorker::~RunWorker() {
  RequestStop();
  Wait();
}

bool RunWorker::Start(RunJob job, RunObserver& observer) {
  if (running_.load()) return false;
  Wait();  // the thread of an earlier run has ended; collect it
  running_.store(true);
  try {
    thread_ = std::jthread([this, &observer, job = std::move(job)](std::stop_token token) {
      std::atomic<bool> stop_requested{false};
      std::stop_callback on_stop(token, [&stop_requested] { stop_requested.store(true); });
      RunOutcome outcome;
      try {
        outcome = job(observer, stop_requested);
      } catch (...) {
        outcome.end = RunEnd::kAborted;
        outcome.message = RunMessage{"任务中止！\n\n" + ExceptionReason(std::current_exception()),
                                     "错误", MessageIcon::kError};
      }
      {
        std::lock_guard<std::mutex> lock(end_lock_);
        running_.store(false);
      }
      ended_.notify_all();
      observer.OnRunEnded(outcome);
    });
  } catch (const std::system_error&) {
    running_.store(false);
    return false;
  }
  return true;
}

void RunWorker::Wait() {
  if (thread_.joinable()) thread_.join();
}

bool RunWorker::WaitFor(std::chrono::milliseconds timeout) {
  std::unique_lock<std::mutex> lock(end_lock_);
  return ended_.wait_for(lock, timeout, [this] { return !running_.load(); });
}

}  // namespace brindle
