#include "run/batch/batch_run.h"

#include <algorithm>
#include <mutex>
#include <thread>
#include <vector>

#include "base/info_log.h"
#include "engine/process/process_picture.h"
#include "engine/write/output_encoding.h"
#include "engine/write/write_over_source.h"
#include "platform/files/file_stamp.h"
#include "recipe/options_file.h"
#include "run/target/name_turns.h"
#include "run/target/target_folder.h"
#include "run/target/target_name.h"

namespace brindle {
namespace {

namespace fs = std::filesystem;

class Run {
 public:
  Run(const RunRecipe& recipe, const BatchSettings& settings, std::vector<PictureEntry>& entries,
      RunObserver& observer, const std::atomic<bool>& stop_requested)
      : recipe_(recipe),
        settings_(settings),
        target_folder_(TargetFolderString(settings.target_folder)),
        entries_(entries),
        observer_(observer),
        stop_requested_(stop_requested) {}

  RunOutcome Execute() {
    {
      std::lock_guard<std::mutex> lock(report_lock_);
      observer_.OnRunListReady(static_cast<int>(entries_.size()));
    }
    const std::size_t workers =
        std::min(static_cast<std::size_t>(std::max(settings_.thread_count, 1)), entries_.size());
    if (workers >= 2) {
      std::vector<std::jthread> others;
      for (std::size_t i = 1; i < workers; ++i) {
        others.emplace_back([this] { Work(/*reserve_names=*/true); });
      }
      Work(/*reserve_names=*/true);
    } else {
      Work(/*reserve_names=*/false);
    }
    RunOutcome outcome;
    outcome.total = static_cast<int>(entries_.size());
    outcome.written = written_;
    outcome.failed = failed_;
    outcome.end = stop_requested_.load() ? RunEnd::kStopped : RunEnd::kCompleted;
    return outcome;
  }

 private:
  // The next entry to process, or none when the list is done or a stop was asked for.
  std::optional<std::size_t> NextEntry() {
    std::lock_guard<std::mutex> lock(report_lock_);
    if (cursor_ >= entries_.size() || stop_requested_.load()) return std::nullopt;
    std::size_t index = cursor_++;
    observer_.OnPictureStarted(static_cast<int>(index), static_cast<int>(entries_.size()));
    return index;
  }

  void Work(bool reserve_names) {
    while (std::optional<std::size_t> index = NextEntry()) {
      PictureOutcome done = RunOnePicture(static_cast<int>(*index), entries_[*index].path, [&] {
        bool ok = settings_.placement == PlacementMode::kOverwrite
                      ? OverwriteSource(*index)
                      : SaveToFolder(*index, reserve_names);
        return ok ? PictureEnd::kWritten : PictureEnd::kFailed;
      });
      std::lock_guard<std::mutex> lock(report_lock_);
      ++(done.end == PictureEnd::kWritten ? written_ : failed_);
      observer_.OnPictureDone(done);
    }
  }

  std::string_view Extension() const { return OutputExtension(recipe_.options.outputFormat); }

  bool SaveToFolder(std::size_t index, bool reserve_name) {
    const PictureEntry& entry = entries_[index];
    const int flip = static_cast<int>(entry.flip);
    const KeptFileTime source_time(entry.path, settings_.keep_time);
    if (!reserve_name) {
      std::optional<fs::path> target =
          ChooseTargetName(entry, target_folder_, settings_.keep_structure, Extension());
      if (!target || ProcessPicture(recipe_, entry.path, *target, flip, entry.rotation).outcome !=
                         ProcessOutcome::kWritten) {
        return false;
      }
      source_time.ApplyTo(*target);
      return true;
    }
    // Several workers: the names are taken in list order, each held by an empty file until
    // written; a picture that fails gives its name back.
    std::optional<TargetReservation> reservation = name_turns_.Take(index, [&] {
      return TargetReservation::Reserve(entry, target_folder_, settings_.keep_structure,
                                        output_name_lock_, Extension());
    });
    if (!reservation) return false;
    if (ProcessPicture(recipe_, entry.path, reservation->path(), flip, entry.rotation).outcome !=
        ProcessOutcome::kWritten) {
      return false;
    }
    reservation->Keep();
    source_time.ApplyTo(reservation->path());
    return true;
  }

  bool OverwriteSource(std::size_t index) {
    PictureEntry& entry = entries_[index];
    const KeptFileTime source_time(entry.path, settings_.keep_time);
    ProcessResult result = ProcessPicture(recipe_, entry.path, std::nullopt,
                                          static_cast<int>(entry.flip), entry.rotation);
    bool ok = result.outcome == ProcessOutcome::kHandedBack &&
              WriteOverSource(result.wand.get(), entry.path, recipe_.options);
    if (ok) source_time.ApplyTo(entry.path);
    // The source now holds the turned picture (or the user's turn is dropped with the failure).
    entry.rotation = 0;
    entry.flip = FlipState::kNone;
    return ok;
  }

  const RunRecipe& recipe_;
  const BatchSettings& settings_;
  const std::string target_folder_;
  std::vector<PictureEntry>& entries_;
  RunObserver& observer_;
  const std::atomic<bool>& stop_requested_;

  // Taking the next entry, counting and every observer call: reports come in order, one at a time.
  std::mutex report_lock_;
  std::size_t cursor_ = 0;
  int written_ = 0;
  int failed_ = 0;
  OutputNameLock output_name_lock_;
  NameTurns name_turns_;
};

}  // namespace

std::optional<Refusal> PrepareBatchRun(const BatchSettings& settings,
                                       const std::vector<PictureEntry>& entries) {
  if (settings.placement == PlacementMode::kNone) {
    Refusal refusal;
    refusal.control = "save_to_folder_option";
    refusal.hint_title = "看这里";
    refusal.hint_text = "请选择图片处理后保存的方式";
    refusal.message = "请选择图片处理后保存的方式";
    refusal.caption = "提示";
    refusal.icon = MessageIcon::kWarning;
    refusal.scroll = PanelScroll::kBottom;
    return refusal;
  }
  if (settings.placement == PlacementMode::kSaveToFolder) {
    return PrepareTargetFolder(settings.target_folder, settings.keep_structure, entries);
  }
  return std::nullopt;
}

bool StoreRunRecipe(const RunRecipe& recipe, const fs::path& recipe_file) {
  if (WriteOptionsFile(recipe.options, recipe_file)) return true;
  LogInfo(WriteFailureText(recipe_file));
  return false;
}

RunOutcome RunBatch(const RunRecipe& recipe, const BatchSettings& settings,
                    std::vector<PictureEntry>& entries, RunObserver& observer,
                    const std::atomic<bool>& stop_requested) {
  return Run(recipe, settings, entries, observer, stop_requested).Execute();
}

}  // namespace brindle
