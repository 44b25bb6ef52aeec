#pragma once
// Getting the target folder of a save-to-folder run ready before any worker starts: it must be
// chosen and exist, and with the folder structure kept, every source sub-folder gets its mirror
// inside it.

#include <optional>
#include <string>
#include <vector>

#include "base/refusal.h"
#include "run/list/picture_entry.h"

namespace brindle {

// nullopt when the run may start; otherwise why it may not. Mirror folders made before a failure
// stay.
std::optional<Refusal> PrepareTargetFolder(const std::string& folder_text, bool keep_structure,
                                           const std::vector<PictureEntry>& entries);

// The sub-folders to mirror, in the order first met: every leading part of each entry's source
// sub-path ("Holiday/day1" gives "Holiday", then "Holiday/day1"), each once.
std::vector<std::string> MirrorFolders(const std::vector<PictureEntry>& entries);

}  // namespace brindle
