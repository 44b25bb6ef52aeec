#include "window_rules/tools/common/tool_run_end.h"

namespace brindle {

ToolRunEnd DecideToolRunEnd(const RunOutcome& outcome) {
  ToolRunEnd end;
  end.message = outcome.message;
  switch (outcome.end) {
    case RunEnd::kCompleted:
      end.ask_to_open_folder = true;
      break;
    case RunEnd::kStopped:
      end.back_to_main_window = true;
      break;
    case RunEnd::kNothingFound:
    case RunEnd::kAborted:
      break;
  }
  return end;
}

}  // namespace brindle
