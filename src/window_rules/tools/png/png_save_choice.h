#pragma once
// The PNG tool window's save choice: the two radio buttons "处理后保存到" and "直接覆盖原图", the
// output box with its button, and the output folder the window remembers (the one it last
// proposed or the user last chose). The window shows what this holds after each event.

#include <filesystem>

#include "tools/png/png_tool.h"

namespace brindle {

class PngSaveChoice {
 public:
  // Opening the window: the remembered folder forgotten, "处理后保存到" chosen, the box empty.
  void Open();
  // A source folder set: its default output folder proposed and remembered, shown unless the
  // pictures are overwritten.
  void SetSource(const std::filesystem::path& source);
  // "处理后保存到" chosen: the box enabled, showing the remembered folder, or when there is none
  // and a source is set, its default output folder (then remembered).
  void ChooseToFolder();
  // "直接覆盖原图" confirmed: the box and its button disabled and emptied; the remembered folder
  // stays.
  void ChooseOverwrite();
  // A folder chosen with the output button: shown and remembered; "处理后保存到" becomes chosen.
  void ChooseOutput(const std::filesystem::path& folder);
  // The end of every run: neither radio chosen, the box enabled; after overwriting the remembered
  // folder is forgotten.
  void EndRun();

  PngSaveMode mode() const { return mode_; }
  const std::filesystem::path& box() const { return box_; }
  bool output_enabled() const { return mode_ != PngSaveMode::kOverwrite; }

 private:
  PngSaveMode mode_ = PngSaveMode::kToFolder;
  std::filesystem::path source_;
  std::filesystem::path remembered_;
  std::filesystem::path box_;
};

// The keep-proportions box's text for the resize kind and side: "高度等比例缩小" and so on.
const char* PngKeepProportionsLabel(PngZoomKind kind, PngZoomSide side);

}  // namespace brindle
