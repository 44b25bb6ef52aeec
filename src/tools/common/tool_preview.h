#pragma once
// What the crop and join windows' previews share: the status texts, and the arrow keys stepping
// through the preview pictures or groups.

namespace brindle {

inline constexpr const char* kPreviewReadyStatus = "就绪...";
inline constexpr const char* kPreviewBusyStatus = "生成预览图片...";

// The index an arrow key moves to: the next (after the last, the first) or the previous one
// (before the first, the last).
inline int SteppedPreviewIndex(int index, int count, bool forward) {
  if (count <= 0) return 0;
  if (forward) return index + 1 >= count ? 0 : index + 1;
  return index <= 0 ? count - 1 : index - 1;
}

}  // namespace brindle
