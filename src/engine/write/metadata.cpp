#include "engine/write/metadata.h"

#include <string>
#include <vector>

namespace brindle {

void RemovePhotoMetadata(MagickWand* wand, const ProcessingOptions& options) {
  if (!options.bRemovePhotoOtherInfo) return;
  // Every block but the colour profile: Exif, IPTC and XMP, and with them Photoshop's resource
  // block (8BIM), extended XMP and any other APPn block the reader kept ("app1", "app12", ...),
  // which can hold megabytes of editing history.
  std::vector<std::string> names;
  size_t count = 0;
  char** listed = MagickGetImageProfiles(wand, "*", &count);
  for (size_t i = 0; listed && i < count; ++i) {
    std::string name = listed[i];
    if (name != "icc" && name != "icm") names.push_back(std::move(name));
    MagickRelinquishMemory(listed[i]);
  }
  MagickRelinquishMemory(listed);
  for (const std::string& name : names) {
    size_t length = 0;
    MagickBlobPtr removed(MagickRemoveImageProfile(wand, name.c_str(), &length));
  }
  for (const char* property : {"comment", "date:create", "date:modify"}) {
    MagickDeleteImageProperty(wand, property);
  }
}

}  // namespace brindle
