#pragma once
// "Brindle图片批量拼接工具": pictures stitched into one long picture, top to bottom or left to
// right; each sub-folder of a source folder, or a hand-made list, gives one. A preview of the
// current group or of the list follows every change of a setting; the arrow keys step through the
// groups.

#include <QImage>
#include <QStringList>
#include <filesystem>
#include <vector>

#include "app/preview/latest_request.h"
#include "app/tools/common/tool_window.h"
#include "run/batch/run_message.h"
#include "tools/join/join_tool.h"
#include "tools/join/preview/join_preview.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QSlider;

namespace brindle {

class LoadFormatBoxes;
class OutputControls;
class PictureListPanel;
class PicturePane;
class SourceModeChoice;

class JoinWindow : public ToolWindow {
  Q_OBJECT

 public:
  JoinWindow(AppContext& context, Dialogs& dialogs, QWidget& main_window);

  PicturePane& preview() const { return *preview_; }
  // The status bar's two parts.
  QStringList status() const;
  bool preview_pending() const { return preview_requests_.pending(); }
  int current_group() const { return current_group_; }
  void TakeDrop(const std::vector<std::filesystem::path>& paths) override;

 protected:
  void LoadSettings() override;
  std::optional<RunJob> PrepareRun() override;
  bool TakeChosenSource(const std::filesystem::path& folder) override;
  void Present() override;
  void Closed() override;
  void StepPreview(bool forward) override;

 private:
  QWidget* BuildSourceGroup();
  QWidget* BuildJoinGroup();
  QWidget* BuildSaveGroup();
  JoinJob JobFromControls() const;
  // The folder becomes the source when it has something to join; else refusal is told.
  bool TakeSource(const std::filesystem::path& folder, const RunMessage& refusal);
  void FollowLayout();
  void ChoosePolicy(int index);
  void AppendPictures(const std::vector<std::filesystem::path>& paths);
  void DeleteSelected();
  // The groups of the source again (a mask change); an empty result keeps the old list.
  void RebuildGroups();
  void RequestPreview(JoinPreviewSearch search = JoinPreviewSearch::kForward);
  void ShowPreview(const QImage& image, const QString& status, const QString& detail, int group,
                   const std::vector<RunMessage>& messages);

  PicturePane* preview_;
  QLabel* status_;
  QLabel* status_detail_;
  SourceModeChoice* source_mode_;
  QCheckBox* close_preview_;
  PictureListPanel* list_panel_;
  LoadFormatBoxes* formats_;
  QRadioButton* vertical_;
  QRadioButton* horizontal_;
  QLabel* policy_label_;
  QComboBox* policy_;
  QLineEdit* custom_length_;
  QSlider* space_;
  QLabel* space_label_;
  OutputControls* output_;
  std::vector<std::filesystem::path> groups_;
  std::vector<std::filesystem::path> pictures_;
  int current_group_ = 0;
  LatestRequest preview_requests_;  // last: a preview being made finishes before the rest goes
};

}  // namespace brindle
