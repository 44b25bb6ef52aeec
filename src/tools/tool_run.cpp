#include "tools/tool_run.h"

#include <system_error>

namespace brindle {

ToolOutcome RunToolJob(const ToolJob& job, ToolObserver& observer,
                       const std::atomic<bool>& stop_requested) {
  ToolOutcome outcome;
  outcome.folder_to_open = job.folder_to_open;
  auto finish = [&](ToolRunEnd end, std::optional<ToolMessage> message) {
    outcome.end = end;
    outcome.message = std::move(message);
    return outcome;
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
  if (list.failure) return finish(ToolRunEnd::kAborted, list.failure);
  if (stop_requested.load()) return finish(ToolRunEnd::kStopped, StoppedMessage());
  if (list.pictures.empty()) return finish(ToolRunEnd::kNothingFound, NothingFoundMessage());

  const int count = static_cast<int>(list.pictures.size());
  outcome.total = count;
  observer.OnRunListReady(count);
  for (int index = 0; index < count && !stop_requested.load(); ++index) {
    observer.OnPictureStarted(index, count);
    PictureResult result = job.work(list.pictures[static_cast<std::size_t>(index)]);
    switch (result.end) {
      case PictureResult::End::kWritten:
        ++outcome.written;
        break;
      case PictureResult::End::kUnreadable:
        ++outcome.unreadable;
        break;
      case PictureResult::End::kRunFailed:
        return finish(ToolRunEnd::kAborted, std::move(result.message));
    }
  }
  if (stop_requested.load()) return finish(ToolRunEnd::kStopped, StoppedMessage());
  return finish(ToolRunEnd::kCompleted, std::nullopt);
}

ToolWorker::~ToolWorker() { Wait(); }

bool ToolWorker::Start(Run run, ToolObserver& observer) {
  if (running_.load()) return false;
  Wait();  // the thread of an earlier run has ended; collect it
  stop_requested_.store(false);
  running_.store(true);
  try {
    thread_ = std::thread([this, &observer, run = std::move(run)] {
      ToolOutcome outcome = run(stop_requested_);
      if (outcome.end == ToolRunEnd::kStopped) stop_requested_.store(false);
      running_.store(false);
      observer.OnRunEnded(outcome);
    });
  } catch (const std::system_error&) {
    running_.store(false);
    return false;
  }
  return true;
}

void ToolWorker::Wait() {
  if (thread_.joinable()) thread_.join();
}

}  // namespace brindle
