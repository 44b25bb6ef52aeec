#include "window_rules/tools/png/png_save_choice.h"

#include "tools/common/tool_source.h"

namespace brindle {

namespace fs = std::filesystem;

void PngSaveChoice::Open() {
  remembered_.clear();
  source_.clear();
  box_.clear();
  mode_ = PngSaveMode::kToFolder;
}

void PngSaveChoice::SetSource(const fs::path& source) {
  source_ = source;
  remembered_ = DefaultOutputFolder(source);
  if (mode_ != PngSaveMode::kOverwrite) box_ = remembered_;
}

void PngSaveChoice::ChooseToFolder() {
  mode_ = PngSaveMode::kToFolder;
  if (remembered_.empty() && !source_.empty()) remembered_ = DefaultOutputFolder(source_);
  box_ = remembered_;
}

void PngSaveChoice::ChooseOverwrite() {
  mode_ = PngSaveMode::kOverwrite;
  box_.clear();
}

void PngSaveChoice::ChooseOutput(const fs::path& folder) {
  remembered_ = folder;
  box_ = folder;
  mode_ = PngSaveMode::kToFolder;
}

void PngSaveChoice::EndRun() {
  if (mode_ == PngSaveMode::kOverwrite) remembered_.clear();
  mode_ = PngSaveMode::kNone;
}

const char* PngKeepProportionsLabel(PngZoomKind kind, PngZoomSide side) {
  static constexpr const char* kLabels[3][2] = {{"高度等比例缩小", "宽度等比例缩小"},
                                                {"高度等比例放大", "宽度等比例放大"},
                                                {"高度等比例缩放", "宽度等比例缩放"}};
  return kLabels[static_cast<int>(kind)][static_cast<int>(side)];
}

}  // namespace brindle
