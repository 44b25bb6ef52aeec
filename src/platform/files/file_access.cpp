#include "platform/files/file_access.h"

#include <fstream>
#include <system_error>

namespace brindle {

bool CanOpenForReading(const std::filesystem::path& path) {
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) return false;
  std::ifstream file(path, std::ios::binary);
  return file.is_open();
}

}  // namespace brindle
