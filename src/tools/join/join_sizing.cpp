#include "tools/join/join_sizing.h"

#include <algorithm>
#include <string>

#include "base/info_log.h"
#include "engine/read/picture_info.h"
#include "engine/read/picture_read.h"
#include "platform/files/file_write.h"
#include "platform/magick/magick_wand.h"

namespace brindle {

namespace fs = std::filesystem;

namespace {

// Whether the picture's stored orientation turns it sideways. Only JPEG, TIFF and WebP files carry
// one that the reader follows; asking costs a header read through ImageMagick.
bool StoredSideways(const fs::path& path) {
  std::string bytes;
  if (!ReadWholeFile(path, bytes)) return false;
  // ImageMagick's WebP reader leaves the Exif orientation unread.
  if (bytes.size() >= 12 && bytes.compare(8, 4, "WEBP") == 0) {
    return TurnsSidewaysWhenUpright(WebpExifOrientation(bytes));
  }
  MagickWandPtr ping = MakeMagickWand();
  if (!PingPictureBytes(ping.get(), bytes)) return false;
  MagickResetIterator(ping.get());
  return TurnsSidewaysWhenUpright(MagickGetImageOrientation(ping.get()));
}

}  // namespace

std::optional<HeaderSize> ReadUprightHeaderSize(const fs::path& path) {
  std::optional<PictureHeader> header = ReadPictureHeader(path);
  if (!header) return std::nullopt;
  HeaderSize size{header->width, header->height};
  if ((header->type == "JPEG" || header->type == "TIFF" || header->type == "WEBP") &&
      StoredSideways(path)) {
    std::swap(size.width, size.height);
  }
  return size;
}

long long JoinPlan::Width() const { return layout == JoinLayout::kVertical ? common : length; }

long long JoinPlan::Height() const { return layout == JoinLayout::kVertical ? length : common; }

int JoinPlan::UnsizedCount() const {
  return static_cast<int>(std::count(sized.begin(), sized.end(), false));
}

JoinPlan PlanJoin(const std::vector<fs::path>& pictures, const JoinToolSettings& settings) {
  JoinPlan plan;
  plan.layout = settings.layout;
  plan.spacing = settings.space;
  std::vector<JoinSides> sides;
  for (const fs::path& picture : pictures) {
    std::optional<HeaderSize> size = ReadUprightHeaderSize(picture);
    plan.sized.push_back(size.has_value());
    if (!size) {
      LogInfo(FormatMessage(kUnsizedPictureMessage, picture.c_str()));
      continue;
    }
    sides.push_back(ToJoinSides(settings.layout, size->width, size->height));
  }
  plan.common = CommonSide(settings.side_policy, settings.custom_length, sides);
  std::vector<int> contributions;
  for (const JoinSides& s : sides) contributions.push_back(ContributedLength(s, plan.common));
  plan.length = CanvasLength(contributions, settings.space);
  return plan;
}

}  // namespace brindle
