#pragma once
// The shape the five tool windows share: a top-level window opened from the main window, which
// hides while the tool is open and comes back when it closes; the source and output folder rows;
// a progress bar and a start button; one run at a time on a RunWorker whose reports reach the
// window through the event loop; the question when the window is closed during a run; and the end
// of a run with its message or its completion question.

#include <QWidget>
#include <filesystem>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "base/refusal.h"
#include "run/batch/run_job.h"

class QCheckBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;

namespace brindle {

struct AppContext;
class BalloonHints;
class Dialogs;

class ToolWindow : public QWidget {
  Q_OBJECT

 public:
  // start_text: the start button's text ("开始转换", "开始处理", ...).
  ToolWindow(AppContext& context, Dialogs& dialogs, QWidget& main_window, const QString& title,
             const QString& start_text);
  ~ToolWindow() override;

  // Opening from the main window: hides it, empties both folder boxes and unticks the sub-folder
  // box, loads the tool's stored settings and shows the window in front.
  void Open();
  bool running() const { return worker_.running(); }
  QLineEdit* source_box() const { return source_box_; }
  QLineEdit* output_box() const { return output_box_; }
  QProgressBar* progress_bar() const { return progress_; }
  QPushButton* start_button() const { return start_; }
  BalloonHints& balloons() const { return *balloons_; }
  // Files dropped on the window; the conversion and PNG tools' rule by default.
  virtual void TakeDrop(const std::vector<std::filesystem::path>& paths);

 protected:
  // The stored settings applied to the controls, each as if chosen.
  virtual void LoadSettings() = 0;
  // Validates the window (refusals shown), stores the settings and gives the run; none when
  // refused.
  virtual std::optional<RunJob> PrepareRun() = 0;
  // After the end of every run (the tools that clear their save choice do it here).
  virtual void AfterRun(const RunOutcome& outcome) { (void)outcome; }
  // The settings menu's "处理后保留原图片的修改时间", as stored now.
  bool KeepFileTime() const;
  // The window was hidden (the tools with a preview let its pictures go).
  virtual void Closed() {}
  // A source folder chosen or dropped: into the source box, with the proposed output folder.
  virtual void SetSource(const std::filesystem::path& folder);
  // A folder picked in the source chooser becomes the source; false when the tool refuses it (and
  // has said why), and the chooser opens again.
  virtual bool TakeChosenSource(const std::filesystem::path& folder) {
    SetSource(folder);
    return true;
  }
  // The crop and PNG tools' save choice: "处理后保存到" and "直接覆盖原图" in a row, one group.
  QHBoxLayout* MakeSaveModeRow(QRadioButton*& to_folder, QRadioButton*& overwrite);
  // Ticks them as given; neither ticked is the state after every run.
  static void TickSaveMode(QRadioButton* to_folder, bool to_folder_on, QRadioButton* overwrite,
                           bool overwrite_on);
  // The progress bar with the start button at its right.
  QHBoxLayout* MakeRunRow();
  // The source row and the output row, with their captions' texts as the boxes' accessible names
  // and button_text on the choosers' buttons ("选择..." or "选择").
  QWidget* MakeSourceRow(const QString& caption, const QString& button_text = "选择...");
  QWidget* MakeOutputRow(const QString& caption, const QString& button_text = "选择...");
  // The source chooser refuses the file-system root (on by default) and reopens.
  void set_refuse_root(bool refuse) { refuse_root_ = refuse; }
  // Shows the opened window: centred at its own size by default.
  virtual void Present();
  // Sized to 80% of the screen, centred, then shown maximised (the windows with a preview).
  void PresentMaximised();
  // The shape of the windows with a preview: the pane filling the left above a status bar of
  // `parts` plain-text parts (each but the last 200 pixels wide), the groups in a 400-pixel column
  // at the right, disabled while a run goes on. The arrow keys on the pane come to StepPreview.
  // Gives the status parts.
  std::vector<QLabel*> LayOutBesidePreview(QWidget* pane, int parts,
                                           const std::vector<QWidget*>& groups);
  // An arrow key on the preview pane: Right or Down steps forward, Left or Up back.
  virtual void StepPreview(bool forward) { (void)forward; }
  bool eventFilter(QObject* watched, QEvent* event) override;
  // "添加"'s chooser: "选择图片 - 支持多选" with the picture filters, opened in the folder last
  // used for pictures.
  std::vector<std::filesystem::path> ChoosePictures();
  // "同时处理所有子文件夹里的图片".
  QCheckBox* sub_folders() const { return sub_folders_; }
  std::filesystem::path source_folder() const;
  std::filesystem::path output_folder() const;
  // The control with this object name (where a refusal points).
  virtual QWidget* Control(std::string_view name) const;
  void ShowRefusal(const Refusal& refusal);
  void Tell(const std::string& caption, const std::string& text, MessageIcon icon);
  // Widgets disabled while a run goes on.
  void DisableWhileRunning(QWidget* widget) { run_disabled_.push_back(widget); }
  // The output row's "选择...": the chosen folder into the output box.
  virtual void ChooseOutput();

  AppContext& context_;
  Dialogs& dialogs_;

  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  struct Observer;
  void ChooseSource();
  void Start();
  void FinishRun(const RunOutcome& outcome);
  void BackToMainWindow();

  QWidget& main_window_;
  BalloonHints* balloons_;
  QLineEdit* source_box_;
  QCheckBox* sub_folders_;
  QLineEdit* output_box_;
  QProgressBar* progress_;
  QPushButton* start_;
  std::vector<QWidget*> run_disabled_;
  QWidget* preview_pane_ = nullptr;
  bool refuse_root_ = true;
  // The close question and the run's end never show two boxes at once: an end that arrives while
  // the question is open waits for its answer.
  bool run_open_ = false;         // started and its end not yet reported
  bool asking_to_close_ = false;  // the close question is open
  std::optional<RunOutcome> ended_while_asking_;
  bool close_when_ended_ = false;  // the question was answered OK after the run had ended
  std::unique_ptr<Observer> observer_;
  RunWorker worker_;  // last: a run still going is stopped before the rest goes
};

}  // namespace brindle
