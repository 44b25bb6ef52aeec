// The information line's header reader: any bytes give either no header or positive sides.
#include <cstdlib>

#include "engine/read/picture_info.h"
#include "fuzz_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::optional<brindle::PictureHeader> header =
      brindle::ReadPictureHeader(brindle::fuzz::WriteInput(data, size));
  if (header && (header->width <= 0 || header->height <= 0 || header->size <= 0)) std::abort();
  return 0;
}
