#include "engine/metadata.h"

namespace brindle {

void RemovePhotoMetadata(MagickWand* wand, const ProcessingOptions& options) {
  if (!options.bRemovePhotoOtherInfo) return;
  for (const char* profile : {"exif", "iptc", "xmp"}) {
    size_t length = 0;
    MagickBlobPtr removed(MagickRemoveImageProfile(wand, profile, &length));
  }
  for (const char* property : {"comment", "date:create", "date:modify"}) {
    MagickDeleteImageProperty(wand, property);
  }
}

}  // namespace brindle
