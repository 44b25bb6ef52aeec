// The main window's batch run: started from the panel's recipe over the whole list, followed in
// the progress window, and ended with what the save mode asks.
#include <QApplication>

#include "app/dialogs/dialogs.h"
#include "app/list/picture_list_model.h"
#include "app/main/main_window.h"
#include "app/main/progress_window.h"
#include "app/panel/settings_panel.h"
#include "panel/values/panel_choices.h"
#include "prefs/auto_fill.h"
#include "run/batch/batch_run.h"
#include "run/list/batch_list.h"
#include "window_rules/main/batch_end.h"

namespace brindle {

// One batch run: what its worker reads and what it reports back to the window. Observer calls
// come on the run's thread, one at a time; they reach the window through its event queue.
struct MainWindow::BatchRun : RunObserver {
  MainWindow* window = nullptr;
  RunRecipe recipe;
  BatchSettings settings;
  std::vector<PictureEntry> entries;
  std::vector<int> written;

  void OnPictureStarted(int index, int) override {
    QMetaObject::invokeMethod(
        window, [w = window, index] { w->progress_->ShowPicture(index); }, Qt::QueuedConnection);
  }
  void OnPictureDone(const PictureOutcome& outcome) override {
    if (outcome.end == PictureEnd::kWritten) written.push_back(outcome.index);
  }
  void OnRunEnded(const RunOutcome& outcome) override {
    QMetaObject::invokeMethod(
        window, [w = window, outcome] { w->FinishBatch(outcome); }, Qt::QueuedConnection);
  }
};

void MainWindow::StartBatch() {
  if (worker_.running() || model_->rowCount() == 0) return;
  std::optional<RunRecipe> recipe = panel_->Validate();
  if (!recipe) return;
  const PanelValues& values = panel_->values();
  auto run = std::make_unique<BatchRun>();
  run->window = this;
  run->recipe = std::move(*recipe);
  run->settings.placement = values.save_mode;
  run->settings.target_folder = values.save_folder_text;
  run->settings.keep_structure = values.keep_structure;
  run->settings.keep_time = ReadPreference(context_.store, pref::kKeepFileTime) != 0;
  run->settings.thread_count =
      BatchThreadCount(ReadPreference(context_.store, pref::kUseThreadModel), model_->list());
  run->entries = model_->list().entries();
  // No save choice, or a target folder that cannot be used: nothing is stored or touched.
  if (std::optional<Refusal> refusal = PrepareBatchRun(run->settings, run->entries)) {
    panel_->ShowRefusal(*refusal);
    return;
  }
  StoreRunRecipe(run->recipe, context_.folders.ConfigFile());
  if (run->recipe.options.bSYText) RememberText(context_.store, run->recipe.options.sy_text);
  if (run->recipe.options.bSYImage) RememberPicture(context_.store, run->recipe.options.sy_image);

  worker_.Wait();
  batch_ = std::move(run);
  BatchRun* job = batch_.get();
  progress_->Begin(static_cast<int>(job->entries.size()));
  const bool started = worker_.Start(
      [job](RunObserver& observer, const std::atomic<bool>& stop_requested) {
        return RunBatch(job->recipe, job->settings, job->entries, observer, stop_requested);
      },
      *job);
  if (!started) {
    progress_->hide();
    dialogs_.Tell(this, "提示", kThreadStartFailure, MessageIcon::kError);
    QApplication::exit(-1);
  }
}

void MainWindow::FinishBatch(const RunOutcome& outcome) {
  worker_.Wait();
  progress_->hide();
  BatchRun& run = *batch_;
  if (run.settings.placement == PlacementMode::kOverwrite) {
    model_->TakeRunResults(run.entries, run.written);
  }
  const BatchEnd end =
      DecideBatchEnd(outcome, run.settings.placement, ReadSaveModePreferences(context_.store),
                     ReadPreference(context_.store, pref::kIsRecordSaveToPath) != 0);
  if (end.store_target_folder) {
    WritePreference(context_.store, pref::kSaveToPath, run.settings.target_folder);
  }
  if (end.ask_to_open_folder && dialogs_.AskYesNo(this, kBatchDoneCaption, kBatchOpenFolderQuestion,
                                                  MessageIcon::kInformation)) {
    dialogs_.OpenInDesktop(QString::fromStdString(run.settings.target_folder));
  }
  if (end.message) {
    dialogs_.Tell(this, QString::fromStdString(end.message->caption),
                  QString::fromStdString(end.message->text), end.message->icon);
  }
  if (end.save_choice) {
    PanelValues values = panel_->values();
    SelectSaveMode(values, *end.save_choice);
    panel_->SetValues(values);
  }
  if (run.settings.placement == PlacementMode::kOverwrite) RefreshPreview();
  RefreshStatus();
}

}  // namespace brindle
