#pragma once
// Whether a file can be read, asked before a path is offered or used as a watermark picture.

#include <filesystem>

namespace brindle {

// A file (not a folder) that can be opened for reading now.
bool CanOpenForReading(const std::filesystem::path& path);

}  // namespace brindle
