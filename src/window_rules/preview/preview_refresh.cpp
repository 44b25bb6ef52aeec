#include "window_rules/preview/preview_refresh.h"

#include "platform/text/text_trim.h"

namespace brindle {
namespace {

bool HasText(const PanelValues& panel) { return !panel.text.empty(); }
bool HasPicture(const PanelValues& panel) { return !panel.image_path.empty(); }

}  // namespace

bool ChangeRefreshesPreview(const PanelValues& panel, PanelChange change) {
  switch (change) {
    case PanelChange::kResizeSwitch:
    case PanelChange::kSizeType:
      return !panel.size_text.empty();
    case PanelChange::kZoomType:
    case PanelChange::kTextSizeScaleType:
      return !panel.size_text.empty() && HasText(panel);
    case PanelChange::kTextWatermark:
      return HasText(panel);
    case PanelChange::kTextSlider:
      return !TrimBlanks(panel.text).empty();
    case PanelChange::kImageWatermark:
      return HasPicture(panel);
    case PanelChange::kAlways:
      return true;
    case PanelChange::kResample:
      return !panel.dpi_text.empty();
  }
  return false;
}

bool BoxRefreshesPreview(const PanelValues& panel, NumberBox box, bool enter, bool changed) {
  if (!enter && !changed) return false;
  switch (box) {
    case NumberBox::kTextHorizontalMargin:
    case NumberBox::kTextVerticalMargin:
    case NumberBox::kPaddingLeftRight:
    case NumberBox::kPaddingTopBottom:
    case NumberBox::kTextRotation:
    case NumberBox::kTextSizeScale:
      return HasText(panel);
    case NumberBox::kImageHorizontalMargin:
    case NumberBox::kImageVerticalMargin:
    case NumberBox::kImageRotation:
      // Leaving a changed box refreshes even before a picture is chosen; Enter waits for one.
      return !enter || HasPicture(panel);
    case NumberBox::kSize:
    case NumberBox::kMaxFileSize:
    case NumberBox::kDpi:
      return true;
  }
  return false;
}

}  // namespace brindle
