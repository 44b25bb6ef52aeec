#pragma once
// A message a tool run ends with or shows on its way: text, caption and icon, shown by the desktop
// program as a message box and printed by brindle-cli.

#include <string>

#include "base/refusal.h"

namespace brindle {

struct RunMessage {
  std::string text;
  std::string caption;
  MessageIcon icon = MessageIcon::kNone;

  bool operator==(const RunMessage&) const = default;
};

// The question after a completed run (Yes opens the folder that received the results).
inline constexpr const char* kCompletionQuestion = "图片处理已完成，是否查看处理后的图片？";
inline constexpr const char* kCompletionCaption = "完成";

// Asked when a tool window is closed during a run (caption kClosingCaption, OK/Cancel); OK sets
// the stop request.
inline constexpr const char* kClosingQuestion =
    "当前正在处理图片，关闭窗口将中断当前的图片处理。\n\n确定要关闭窗口吗？";
inline constexpr const char* kClosingCaption = "询问";

// When the worker thread cannot be started (caption "提示", error icon); the process then ends.
inline constexpr const char* kThreadStartFailure = "启动线程失败";

// After a stop request: "任务已中止".
RunMessage StoppedMessage();

// An empty run list: "没有找到需要处理的图片".
RunMessage NothingFoundMessage();

}  // namespace brindle
