#include "fuzz_file.h"

#include <unistd.h>

#include <cstdio>
#include <string>

namespace brindle::fuzz {

const std::filesystem::path& WriteInput(const std::uint8_t* data, std::size_t size) {
  static const std::filesystem::path path =
      std::filesystem::temp_directory_path() / ("brindle-fuzz-" + std::to_string(getpid()));
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file) {
    if (size > 0) std::fwrite(data, 1, size, file);
    std::fclose(file);
  }
  return path;
}

}  // namespace brindle::fuzz
