#include "panel/rules/resize_resample.h"

#include <string>

#include "panel/values/panel_controls.h"
#include "panel/values/panel_labels.h"

namespace brindle {
namespace {

// "图片缩小", "图片放大" or "图片缩放", by the kind list.
std::string ResizeName(const PanelValues& panel) {
  return "图片" + std::string(ZoomKindName(panel.zoom_type));
}

PointerHint ResizePointer(const PanelValues& panel) {
  return {std::string(panel_control::kResize), "勾选了【" + ResizeName(panel) + "】选项"};
}

PointerHint ResamplePointer() {
  return {std::string(panel_control::kResample), "勾选了【重新采样】选项"};
}

Refusal Exclusion(std::string_view control, std::string message,
                  std::vector<PointerHint> pointers) {
  Refusal refusal;
  refusal.control = control;
  refusal.message = std::move(message);
  refusal.caption = "提示";
  refusal.icon = MessageIcon::kWarning;
  refusal.take_focus = false;
  refusal.pointers = std::move(pointers);
  return refusal;
}

}  // namespace

std::optional<Refusal> TickResize(PanelValues& panel) {
  if (!(panel.dpi && panel.resample)) {
    panel.resize = true;
    return std::nullopt;
  }
  panel.resize = false;
  return Exclusion(panel_control::kResize, "勾选了【重新采样】选项后，不能同时再勾选这个选项。",
                   {ResamplePointer()});
}

std::optional<Refusal> TickResample(PanelValues& panel) {
  if (!panel.resize) {
    panel.resample = true;
    return std::nullopt;
  }
  panel.resample = false;
  return Exclusion(panel_control::kResample,
                   "勾选了【" + ResizeName(panel) + "】选项后，不能同时再勾选这个选项。",
                   {ResizePointer(panel)});
}

std::optional<Refusal> TickDpi(PanelValues& panel) {
  panel.dpi = true;
  if (!(panel.resize && panel.resample)) return std::nullopt;
  panel.resample = false;
  return Exclusion(
      panel_control::kDpi,
      "勾选了【" + ResizeName(panel) +
          "】选项后，不能同时再勾选【重新采样】选项。\n\n【重新采样】选项将自动取消勾选。",
      {ResizePointer(panel), ResamplePointer()});
}

}  // namespace brindle
