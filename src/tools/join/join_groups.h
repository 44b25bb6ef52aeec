#pragma once
// The groups of a join source folder and the pictures of a group. Every direct sub-folder of the
// source is a group of its own; a source without sub-folders is itself the only group, provided it
// holds at least two pictures. Nothing is sorted beyond the scan's own order.

#include <filesystem>
#include <vector>

#include "run/list/picture_scan.h"
#include "tools/common/load_format_mask.h"

namespace brindle {

struct JoinGroupList {
  std::vector<std::filesystem::path> groups;
  std::vector<LongPathNotice> notices;  // paths too long for the program, left out
};

// The direct sub-folders of source (names beginning with "." skipped); without any, source itself
// when it holds at least two pictures that pass mask; otherwise none.
JoinGroupList ListJoinGroups(const std::filesystem::path& source, LoadFormatMask mask);

// The files directly in group whose names pass mask, in scan order.
ScanResult ListGroupPictures(const std::filesystem::path& group, LoadFormatMask mask);

// Whether folder holds at least two files that pass mask (counting stops at two).
bool HoldsTwoPictures(const std::filesystem::path& folder, LoadFormatMask mask);

}  // namespace brindle
