#pragma once
// The colour profiles the main batch converts with, held in memory for the whole process: sRGB and
// Adobe RGB (1998), read when the program starts, and the CMYK default named by a preference, with
// a list of other CMYK profiles tried when that one cannot be read. The loaders return the texts
// the front end shows (a box with caption "错误" and the error icon in the desktop program).

#include <array>
#include <filesystem>
#include <string>
#include <vector>

namespace brindle {

// Each profile's whole file; empty when it is not loaded (a profile that is absent is not applied).
struct IccProfiles {
  std::string srgb;
  std::string adobe_rgb;
  std::string cmyk;
};

inline constexpr const char* kSrgbProfileName = "sRGB.icc";
inline constexpr const char* kAdobeRgbProfileName = "AdobeRGB1998.icc";

// The CMYK profiles tried, in this order, when the chosen one cannot be read. The last is the CMYK
// profile installed with the program, so that CMYK conversion works on a machine that has none of
// the others.
inline constexpr std::array<const char*, 8> kCmykFallbackProfileNames = {
    "JapanColor2001Coated.icc",    "USWebCoatedSWOP.icc",
    "CoatedFOGRA39.icc",           "USWebUncoated.icc",
    "JapanColor2001Uncoated.icc",  "JapanColor2002Newspaper.icc",
    "JapanColor2003WebCoated.icc", "default_cmyk.icc"};

// Caption of every profile message.
inline constexpr const char* kProfileMessageCaption = "错误";

enum class ProfileFileStatus { kLoaded, kCannotOpen, kCannotRead };

// Reads a whole profile file in one piece. An empty file cannot be read.
ProfileFileStatus ReadProfileFile(const std::filesystem::path& path, std::string& bytes);

// Reads AdobeRGB1998.icc and then sRGB.icc from the icc folder. Returns the texts to show for those
// that cannot be opened ("... 文件无法访问。") or read ("加载 ... 文件出错。"), in that order; a
// profile that fails is left as it was.
std::vector<std::string> LoadRgbProfiles(const std::filesystem::path& icc_folder,
                                         IccProfiles& profiles);

struct CmykProfileLoad {
  bool loaded = false;  // the chosen profile or a fallback was read
  // "加载ICC色彩特性文件 '%s' 出错。" with the chosen file's full path when it could not be read.
  std::string message;
  // The fallback that was read instead; the caller makes it the stored CMYK default.
  std::string fallback_name;
};

// Reads the CMYK profile called name from the icc folder into profiles.cmyk; when it cannot be
// read, the fallback list in order. When nothing can be read, profiles.cmyk keeps what it held.
CmykProfileLoad LoadCmykProfile(const std::filesystem::path& icc_folder, const std::string& name,
                                IccProfiles& profiles);

}  // namespace brindle
