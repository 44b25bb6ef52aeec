#include "window_rules/main/batch_end.h"

namespace brindle {

BatchEnd DecideBatchEnd(const RunOutcome& outcome, PlacementMode mode,
                        const SaveModePreferences& save_mode, bool record_target_folder) {
  BatchEnd end;
  switch (outcome.end) {
    case RunEnd::kStopped:
      return end;
    case RunEnd::kNothingFound:
    case RunEnd::kAborted:
      end.message = outcome.message;
      return end;
    case RunEnd::kCompleted:
      break;
  }
  if (mode == PlacementMode::kSaveToFolder) {
    end.ask_to_open_folder = true;
    end.store_target_folder = record_target_folder;
  } else {
    end.message = RunMessage{kBatchDoneText, kBatchDoneCaption, MessageIcon::kInformation};
  }
  end.save_choice = SaveChoiceAfterRun(save_mode, mode);
  return end;
}

}  // namespace brindle
