// The recipe reader over any bytes, then the writer: text fields always fit their buffers.
#include <cstdlib>

#include "fuzz_file.h"
#include "platform/text/text_encoding.h"
#include "recipe/options_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  brindle::ProcessingOptions options{};
  if (!brindle::ReadOptionsFile(options, brindle::fuzz::WriteInput(data, size))) std::abort();
  if (brindle::GbkLength(options.sy_text) >= brindle::kSyTextBufferSize ||
      brindle::GbkLength(options.sy_text_fontName) >= brindle::kFontNameBufferSize ||
      brindle::GbkLength(options.sy_text_htmlColor) >= brindle::kHtmlColorBufferSize ||
      brindle::GbkLength(options.sy_image) >= brindle::kSyImageBufferSize) {
    std::abort();
  }
  if (brindle::FormatOptionsText(options).size() > 4096) std::abort();
  return 0;
}
