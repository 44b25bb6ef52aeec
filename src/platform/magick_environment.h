#pragma once
// Making ImageMagick usable: its configuration (the program's own policy.xml) is found first
// through MAGICK_CONFIGURE_PATH, set before MagickWandGenesis; the memory resource is limited to 1
// GiB; and a self-test encodes and decodes a few small pictures. A library that fails the test is
// reported with a message instead of being used.

#include <filesystem>
#include <string>

namespace brindle {

inline constexpr unsigned long long kMagickMemoryLimit = 1073741824ULL;

// Owns ImageMagick's lifetime for the process: started by the constructor, ended by the destructor.
// Only one may exist at a time.
class MagickEnvironment {
 public:
  explicit MagickEnvironment(const std::filesystem::path& magick_config_folder);
  ~MagickEnvironment();
  MagickEnvironment(const MagickEnvironment&) = delete;
  MagickEnvironment& operator=(const MagickEnvironment&) = delete;

  bool usable() const { return error_.empty(); }
  // Why ImageMagick cannot be used, in the program's words; empty when it can.
  const std::string& error() const { return error_; }

 private:
  std::string error_;
};

// Encodes a 16 x 16 ICO and decodes four small embedded pictures (PNG, GIF, JPEG, BMP).
// false with ImageMagick's reason when any of it fails.
bool RunMagickSelfTest(std::string* reason);

}  // namespace brindle
