// The GIF block walk: every input is made to look like a GIF89a with a global colour table, so the
// fuzzer spends its time inside the walk.
#include <cstdlib>
#include <vector>

#include "engine/read/picture_classify.h"
#include "fuzz_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<std::uint8_t> gif = {'G',  'I', 'F', '8', '9', 'a', 1,   0,   1,  0,
                                   0x80, 0,   0,   0,   0,   0,   255, 255, 255};
  gif.insert(gif.end(), data, data + size);
  brindle::PictureClass result =
      brindle::ClassifyPictureFile(brindle::fuzz::WriteInput(gif.data(), gif.size()));
  if (result != brindle::PictureClass::kGif && result != brindle::PictureClass::kAnimatedGif &&
      result != brindle::PictureClass::kUnknown) {
    std::abort();
  }
  return 0;
}
