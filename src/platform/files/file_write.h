#pragma once
// Every file the program writes goes through a temporary file in the target's folder that is
// renamed over the target only once it is complete, so a failed write never leaves half a file
// behind and an existing file is either replaced whole or left untouched.

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace brindle {

// Writes bytes to path. An existing file keeps its permissions. On failure, error (when given)
// holds the reason and the target is as it was.
bool WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes,
                         std::string* error = nullptr);

// Where an atomic write failed: the temporary file could not be made or opened, or the bytes could
// not be written, flushed or moved into place; with the system's error number.
struct FileWriteFailure {
  enum class Step { kNone, kOpen, kWrite };
  Step step = Step::kNone;
  int error_number = 0;
};

// WriteFileAtomically that reports the failing step and error number.
bool WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes,
                         FileWriteFailure& failure);

// Like WriteFileAtomically, but the content is produced by a writer that gets the temporary file's
// path (for libraries that write files themselves) and returns false on failure.
bool WriteFileAtomicallyWith(const std::filesystem::path& path,
                             const std::function<bool(const std::filesystem::path& temp)>& writer,
                             std::string* error = nullptr);

// Reads a whole file; false when it cannot be opened or read.
bool ReadWholeFile(const std::filesystem::path& path, std::string& bytes);

}  // namespace brindle
