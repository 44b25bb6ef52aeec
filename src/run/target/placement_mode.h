#pragma once
// Where a main batch run puts its pictures: the panel's two save radios, or neither yet.

namespace brindle {

enum class PlacementMode { kNone, kSaveToFolder, kOverwrite };

// The question asked before "直接覆盖原图" is chosen, in the main window and the tools (caption
// "注意", OK/Cancel).
inline constexpr const char* kOverwriteQuestion =
    "直接覆盖原图，有可能因参数设置错误造成无法挽回的损失。\n\n确定要覆盖原图吗？";

}  // namespace brindle
