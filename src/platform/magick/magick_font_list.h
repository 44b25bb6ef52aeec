#pragma once
// ImageMagick's own list of the fonts it can draw with, as plain records.

#include <optional>
#include <string>
#include <vector>

namespace brindle {

struct MagickFontEntry {
  std::optional<std::string> name;  // the type name handed to DrawSetFont
  std::optional<std::string> family;
  std::string description;
  std::string glyph_file;
  int weight = 400;
  bool italic = false;  // the style is ItalicStyle (an oblique style is not)
};

// Every font ImageMagick knows, in its own order. ImageMagick must have been started.
std::vector<MagickFontEntry> ListMagickFonts();

}  // namespace brindle
