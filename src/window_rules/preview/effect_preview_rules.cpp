#include "window_rules/preview/effect_preview_rules.h"

#include "base/product_name.h"
#include "panel/values/panel_controls.h"

namespace brindle {

std::string PreviewWindowTitle(int list_count, std::string_view file_name) {
  std::string title = ProductTitleWithVersion();
  title.append(list_count >= 2
                   ? " - 效果预览(提示:按ESC退出预览,按方向键可预览上一张,下一张图片) - "
                   : " - 效果预览 - ");
  title.append(file_name);
  return title;
}

std::optional<int> StepPreviewIndex(int current, int count, bool forward) {
  if (count < 2) return std::nullopt;
  // An index the list no longer has counts as none.
  if (current < 0 || current >= count) return forward ? 0 : count - 1;
  if (forward) return current + 1 == count ? 0 : current + 1;
  return current == 0 ? count - 1 : current - 1;
}

const std::vector<HoverHint>& PreviewHoverHints() {
  namespace control = panel_control;
  static constexpr std::string_view kArrowsAndEnter =
      "按方向键↑↓可修改此项。修改此项后，按回车键(Enter)使之生效。";
  static constexpr std::string_view kEnter = "修改此项后，按回车键(Enter)使之生效。";
  static const std::vector<HoverHint> kHints = {
      {control::kSizeBox, kArrowsAndEnter},
      {control::kMaxFileSizeBox, kArrowsAndEnter},
      {control::kPaddingLeftRight, kArrowsAndEnter},
      {control::kPaddingTopBottom, kArrowsAndEnter},
      {control::kTextRotation, kArrowsAndEnter},
      {control::kImageRotation, kArrowsAndEnter},
      {control::kText, kEnter},
      {control::kTextHorizontalMargin, kEnter},
      {control::kTextVerticalMargin, kEnter},
      {control::kImageHorizontalMargin, kEnter},
      {control::kImageVerticalMargin, kEnter},
  };
  return kHints;
}

}  // namespace brindle
