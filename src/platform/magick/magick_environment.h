#pragma once
// Making ImageMagick usable: its configuration (the program's own policy.xml) is found first
// through MAGICK_CONFIGURE_PATH, set before MagickWandGenesis; the memory resource is limited to 1
// GiB; and a self-test encodes and decodes a few small pictures. A library that fails the test is
// reported with a message instead of being used.

#include <filesystem>
#include <string>

namespace brindle {

inline constexpr unsigned long long kMagickMemoryLimit = 1073741824ULL;

// The longest side of a picture read or made in everyday work. The program's policy allows up to
// kMagickSideCeiling, which only a LargerMagickSides holder uses (a joined PNG can be that long).
inline constexpr unsigned long long kMagickEverydaySide = 65536;
inline constexpr unsigned long long kMagickSideCeiling = 1000000;

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

// While one of these exists, pictures may have sides up to kMagickSideCeiling (the limit is
// process-wide; the last holder to go puts the everyday limit back).
class LargerMagickSides {
 public:
  LargerMagickSides();
  ~LargerMagickSides();
  LargerMagickSides(const LargerMagickSides&) = delete;
  LargerMagickSides& operator=(const LargerMagickSides&) = delete;
};

// Encodes a 16 x 16 ICO and decodes four small embedded pictures (PNG, GIF, JPEG, BMP).
// false with ImageMagick's reason when any of it fails.
bool RunMagickSelfTest(std::string* reason);

}  // namespace brindle
