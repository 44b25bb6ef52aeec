#pragma once
// The effect preview's rules that need no window: the main window's title while it is shown, the
// arrow keys' stepping through the picture list, and the hover hints on the panel's boxes that
// remind the user how a changed value reaches the preview.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace brindle {

// "Brindle图片批量处理工具(V13.7) - 效果预览 - a.jpg", or with
// "效果预览(提示:按ESC退出预览,按方向键可预览上一张,下一张图片)" when the list has two or more
// pictures.
std::string PreviewWindowTitle(int list_count, std::string_view file_name);

// The arrow keys: the next (forward) or previous index with wrap-around; from -1 forward gives 0
// and backward gives the last. nullopt when the list has fewer than two pictures (the key beeps).
std::optional<int> StepPreviewIndex(int current, int count, bool forward);

inline constexpr std::string_view kPreviewHoverHintTitle = "提示:";

struct HoverHint {
  std::string_view control;
  std::string_view text;
};

// The eleven hover hints attached while the preview is shown (title kPreviewHoverHintTitle, no
// icon), by panel_control name.
const std::vector<HoverHint>& PreviewHoverHints();

}  // namespace brindle
