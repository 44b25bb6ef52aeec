// Content classification of any bytes: must end, and give one of the classes or failure codes.
#include <cstdlib>

#include "engine/read/picture_classify.h"
#include "fuzz_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  brindle::PictureClass result =
      brindle::ClassifyPictureFile(brindle::fuzz::WriteInput(data, size));
  int value = static_cast<int>(result);
  if (!(value >= 113 && value <= 121) && !(value >= -4 && value <= 0)) std::abort();
  return 0;
}
