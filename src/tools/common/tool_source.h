#pragma once
// The source folder of the conversion and PNG tools: the checks before a run, the refusal of the
// file-system root, what a drop may set, and the output folder proposed for a source.

#include <filesystem>
#include <optional>
#include <vector>

#include "base/refusal.h"
#include "run/batch/run_message.h"

namespace brindle {

// The control the source checks point at: the source folder's "选择..." button.
inline constexpr const char* kSourceButton = "source_button";

// "源图片文件夹不能为空" for an empty source, "选择的【源图片文件夹】不存在" for one that is not a
// folder; nullopt when the source may be used.
std::optional<Refusal> CheckSourceFolder(const std::filesystem::path& source);

// The root refusals: chosen in the folder chooser (which then opens again) and dropped.
RunMessage ChosenRootRefusal(const std::filesystem::path& folder);
RunMessage DroppedRootRefusal(const std::filesystem::path& folder);

// What a drop onto the conversion or PNG tool does: one folder (not the root) becomes the source;
// anything else is refused and changes nothing.
struct SourceDrop {
  std::optional<std::filesystem::path> folder;
  std::optional<RunMessage> refusal;
};
SourceDrop TakeDroppedSource(const std::vector<std::filesystem::path>& dropped);

// The output folder proposed for a source: "<source>_处理后", or while a folder of that name
// exists "<source>_处理后(2)", "(3)", ... Only an existing folder counts as taken; none is made.
std::filesystem::path DefaultOutputFolder(const std::filesystem::path& source);

// A folder as the tools keep it: without separators at its end (the root stays "/").
std::filesystem::path WithoutTrailingSeparators(const std::filesystem::path& folder);

}  // namespace brindle
