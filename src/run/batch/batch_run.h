#pragma once
// The main batch run: every picture of the list through the pipeline, on one or two workers, into a
// target folder or over the sources. It is a job of the one run interface (run/batch/run_job.h): a front
// end starts it on a RunWorker, watches it through a RunObserver and may ask it to stop; it never
// waits on them.

#include <atomic>
#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "base/refusal.h"
#include "engine/process/run_recipe.h"
#include "run/batch/run_job.h"
#include "run/list/picture_entry.h"
#include "run/target/placement_mode.h"

namespace brindle {

struct BatchSettings {
  PlacementMode placement = PlacementMode::kNone;
  std::string target_folder;    // "处理后保存到"
  bool keep_structure = false;  // "按原文件夹(子文件夹)结构保存图片"
  int thread_count = 1;         // workers: from DecideThreadCount, or the command line's choice
  bool keep_time = false;       // "处理后保留原图片的修改时间": written files get their source's time
};

// The checks made when a run starts, before any picture is touched: a save choice must be made, and
// in folder mode the target folder is checked and its mirrored sub-folders made. A refusal says
// what to show; nothing has been processed.
std::optional<Refusal> PrepareBatchRun(const BatchSettings& settings,
                                       const std::vector<PictureEntry>& entries);

// Stores the recipe of a run that is starting (the desktop program's config.dat). A recipe that
// cannot be stored does not keep the run from starting: the failure is logged and false returned.
bool StoreRunRecipe(const RunRecipe& recipe, const std::filesystem::path& recipe_file);

// Runs the pictures, reporting each one's start and outcome (index: its place in entries). Returns
// when every picture is done or the stop request has been seen; the pictures in progress are
// always finished. In overwrite mode every taken entry's rotation and flip are reset to 0; a
// written entry's outcome tells the list to refresh its icon.
RunOutcome RunBatch(const RunRecipe& recipe, const BatchSettings& settings,
                    std::vector<PictureEntry>& entries, RunObserver& observer,
                    const std::atomic<bool>& stop_requested);

}  // namespace brindle
