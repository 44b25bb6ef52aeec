#pragma once
// The main batch run: every picture of the list through the pipeline, on one or two workers, into a
// target folder or over the sources. Front ends start it, watch it through a BatchObserver and may
// ask it to stop; it never waits on them.

#include <atomic>
#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "base/refusal.h"
#include "engine/run_recipe.h"
#include "run/picture_entry.h"
#include "run/placement_mode.h"

namespace brindle {

struct BatchSettings {
  PlacementMode placement = PlacementMode::kNone;
  std::string target_folder;    // "处理后保存到"
  bool keep_structure = false;  // "按原文件夹(子文件夹)结构保存图片"
  int thread_count = 1;         // 1 or 2, from DecideThreadCount
  // Where the recipe of the run is stored (config.dat); none for brindle-cli.
  std::optional<std::filesystem::path> recipe_file;
};

// Events of a run. Called from the worker threads (progress under the queue lock, so in order).
class BatchObserver {
 public:
  virtual ~BatchObserver() = default;
  // current is the number of the picture now being taken (1-based).
  virtual void OnProgress(int total, int current) { (void)total, (void)current; }
  // An entry was written over its source (the list refreshes its icon).
  virtual void OnSourceOverwritten(std::size_t index) { (void)index; }
};

struct BatchOutcome {
  int total = 0;
  int written = 0;
  int failed = 0;
  bool stopped = false;
};

// The checks made when a run starts, before any picture is touched: a save choice must be made, the
// recipe is stored, and in folder mode the target folder is checked and its mirrored sub-folders
// made. A refusal says what to show; nothing has been processed.
std::optional<Refusal> PrepareBatchRun(const RunRecipe& recipe, const BatchSettings& settings,
                                       const std::vector<PictureEntry>& entries);

// Runs the pictures. Blocks until every picture is done or the stop request has been seen; the
// pictures in progress are always finished. In overwrite mode every taken entry's rotation and flip
// are reset to 0.
BatchOutcome RunBatch(const RunRecipe& recipe, const BatchSettings& settings,
                      std::vector<PictureEntry>& entries, BatchObserver& observer,
                      const std::atomic<bool>& stop_requested);

}  // namespace brindle
