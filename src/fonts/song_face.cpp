#include "fonts/song_face.h"

#include <filesystem>
#include <string>

namespace brindle {
namespace {

namespace fs = std::filesystem;

std::string AsciiLower(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

// Song and Ming are two names of the same style; fonts name it in Chinese or in Latin letters.
bool NamesSongStyle(const InstalledFont& font) {
  for (const FamilyName& family : font.families) {
    if (family.name.find("宋") != std::string::npos ||
        family.name.find("明") != std::string::npos) {
      return true;
    }
    const std::string name = AsciiLower(family.name);
    for (std::string_view word : {"song", "sung", "ming", "serif cjk", "serif sc"}) {
      if (name.find(word) != std::string::npos) return true;
    }
  }
  return false;
}

bool IsFontFileName(const fs::path& file) {
  std::string extension = AsciiLower(file.extension().string());
  return extension == ".ttf" || extension == ".ttc" || extension == ".otf";
}

}  // namespace

std::optional<FontMapping> DefaultSongFaceMapping(const std::vector<InstalledFont>& installed) {
  for (const InstalledFont& font : installed) {
    if (!font.covers_simplified_chinese || !IsFontFileName(font.file)) continue;
    if (!NamesSongStyle(font)) continue;
    return FontMapping{std::string(kSongFaceName), font.file.string()};
  }
  return std::nullopt;
}

}  // namespace brindle
