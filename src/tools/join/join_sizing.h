#pragma once
// The sizing pass of a join: every picture's size from its file header alone, so the canvas is
// known before any picture is decoded. A picture whose header cannot be read takes no part in it.

#include <filesystem>
#include <optional>
#include <vector>

#include "tools/common/tool_settings.h"
#include "tools/join/join_geometry.h"

namespace brindle {

// Logged (with the path) for a picture whose size cannot be read from its header.
inline constexpr const char* kUnsizedPictureMessage = "无法获取图片的尺寸:\r\n%s";

struct HeaderSize {
  int width = 0;
  int height = 0;
};

// The picture's size from its header as it stands upright: pictures are read turned upright, so a
// JPEG or TIFF whose orientation turns it sideways has its width and height exchanged. None when
// the header cannot be read. Needs ImageMagick started for JPEG and TIFF.
std::optional<HeaderSize> ReadUprightHeaderSize(const std::filesystem::path& path);

// What the sizing pass found: the common side, the canvas length along the layout, and the
// pictures whose size could not be read (logged).
struct JoinPlan {
  JoinLayout layout = JoinLayout::kVertical;
  int common = 0;
  long long length = 0;
  int spacing = 0;
  std::vector<bool> sized;  // per picture, whether its header was read

  // The canvas's width and height.
  long long Width() const;
  long long Height() const;
  // The pictures whose header could not be read.
  int UnsizedCount() const;
};

// The sizing pass over the pictures with the layout, side policy, custom length and spacing of
// settings; "无法获取图片的尺寸:\r\n%s" goes to the InfoLog for every header that cannot be read.
JoinPlan PlanJoin(const std::vector<std::filesystem::path>& pictures,
                  const JoinToolSettings& settings);

}  // namespace brindle
