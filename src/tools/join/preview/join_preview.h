#pragma once
// The join tool's preview: the joined picture of the current group (folder mode) or of the list,
// as the run would save it, shown the way its output format will look (JPEG at the chosen quality;
// PNG over a checkerboard where it stays transparent, through the palette when PNG-8 is on), with
// the status texts and messages the window shows. The picture reaches the pane as JPEG, so it is
// limited to 65500 pixels a side.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "run/batch/run_message.h"
#include "tools/common/tool_preview.h"
#include "tools/common/tool_settings.h"

namespace brindle {

// Which way the search for a group that composes goes: forward on the first preview and to the
// next group, backward to the previous group.
enum class JoinPreviewSearch { kForward, kBackward };

struct JoinPreviewRequest {
  JoinToolSettings settings;                    // the settings as the window holds them now
  std::vector<std::filesystem::path> groups;    // folder mode: the group list
  std::vector<std::filesystem::path> pictures;  // list mode: the picture list
  int current_group = 0;
  JoinPreviewSearch search = JoinPreviewSearch::kForward;
};

struct JoinPreview {
  // The encoded JPEG the pane decodes and shows; empty when the pane shows nothing.
  std::string display_jpeg;
  int width = 0;  // the shown picture's size
  int height = 0;
  std::string status;         // the status bar's first part
  std::string status_detail;  // its second part
  int current_group = 0;      // the group now current (folder mode)
  // Message boxes, in the order they are shown (after the picture).
  std::vector<RunMessage> messages;
  int troubled = 0;  // pictures logged while composing
};

// The JPEG quality of the display copy when the output is PNG.
inline constexpr int kPreviewDisplayQuality = 91;

JoinPreview MakeJoinPreview(const JoinPreviewRequest& request);

}  // namespace brindle
