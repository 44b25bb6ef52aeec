#pragma once
// "Brindle图片批量裁剪工具": one rectangle cut out of every picture of a folder or of a hand-made
// list, with a live preview of the current picture darkened around the kept rectangle; the arrow
// keys step through up to 32 preview pictures.

#include <QImage>
#include <array>
#include <filesystem>
#include <vector>

#include "app/preview/latest_request.h"
#include "app/tools/common/tool_window.h"
#include "tools/crop/crop_preview.h"
#include "tools/crop/crop_tool.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QStackedWidget;

namespace brindle {

class LoadFormatBoxes;
class OutputControls;
class PictureListPanel;
class PicturePane;
class SourceModeChoice;

class CropWindow : public ToolWindow {
  Q_OBJECT

 public:
  CropWindow(AppContext& context, Dialogs& dialogs, QWidget& main_window);

  PicturePane& preview() const { return *preview_; }
  // The status bar's three parts.
  QStringList status() const;
  const std::vector<std::filesystem::path>& preview_list() const { return preview_list_; }
  int preview_index() const { return preview_index_; }
  bool preview_pending() const { return preview_requests_.pending(); }
  void TakeDrop(const std::vector<std::filesystem::path>& paths) override;

 protected:
  void LoadSettings() override;
  std::optional<RunJob> PrepareRun() override;
  void AfterRun(const RunOutcome& outcome) override;
  void SetSource(const std::filesystem::path& folder) override;
  void ChooseOutput() override;
  void Present() override;
  void Closed() override;
  QWidget* Control(std::string_view name) const override;
  void StepPreview(bool forward) override;

 private:
  QWidget* BuildSourceGroup();
  QWidget* BuildCropGroup();
  QWidget* BuildSaveGroup();
  QLineEdit* Box(const char* name, const QString& caption, int digits);
  // The job as the controls hold it now.
  CropJob JobFromControls() const;
  void FollowMode();
  void FollowSaveMode();
  void ChooseOverwrite();
  void AddPictures(const std::vector<std::filesystem::path>& paths);
  void DeleteSelected();
  void ClearList();
  // The preview list made again from the source; the index goes back to 0 when asked.
  void RebuildPreviewList();
  // Asks for the preview of the current picture (forward: it or the next that can be cropped).
  void RequestPreview(bool forward = true);
  // A made preview, on the window's thread; a null image clears the pane.
  void ShowPreview(const QImage& image, const CropStatusTexts& status, int index,
                   const std::optional<RunMessage>& message);
  void SetStatus(const CropStatusTexts& status);

  PicturePane* preview_;
  std::array<QLabel*, 3> status_;
  SourceModeChoice* source_mode_;
  PictureListPanel* list_panel_;
  LoadFormatBoxes* formats_;
  QComboBox* mode_;
  QComboBox* align_;
  QWidget* units_;
  QRadioButton* by_pixels_;
  QRadioButton* by_percent_;
  QStackedWidget* panels_;
  // The fourteen parameter boxes, by panel.
  QLineEdit* fixed_width_;
  QLineEdit* fixed_height_;
  QLineEdit* percent_width_;
  QLineEdit* percent_height_;
  QLineEdit* ratio_width_;
  QLineEdit* ratio_height_;
  std::array<QLineEdit*, 4> side_pixels_;   // left, right, top, bottom
  std::array<QLineEdit*, 4> side_percent_;  // left, right, top, bottom
  QRadioButton* to_folder_;
  QRadioButton* overwrite_;
  QWidget* output_row_;
  QCheckBox* keep_format_;
  OutputControls* output_;
  std::vector<std::filesystem::path> pictures_;      // the list mode's pictures, in order added
  std::vector<std::filesystem::path> preview_list_;  // at most 32
  int preview_index_ = 0;
  CropPreviewMaker crop_maker_;      // touched only on the preview worker's thread
  LatestRequest preview_requests_;  // last: a preview being made finishes before the rest goes
};

}  // namespace brindle
