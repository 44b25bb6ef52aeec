#pragma once
// What a tool window does when its run has ended: the message it tells, whether it asks to open
// the folder that received the results, and whether it goes back to the main window (after a
// stop, which only closing the window asks for).

#include <optional>

#include "run/batch/run_job.h"
#include "run/batch/run_message.h"

namespace brindle {

struct ToolRunEnd {
  std::optional<RunMessage> message;
  bool ask_to_open_folder = false;  // kCompletionQuestion
  bool back_to_main_window = false;
};

ToolRunEnd DecideToolRunEnd(const RunOutcome& outcome);

}  // namespace brindle
