#pragma once
// The fonts installed on this machine as fontconfig lists them: one record per face of a font file
// (a collection file holds several), with every family name the face carries and the language of
// each name, its weight and slant, and whether it covers Chinese or Japanese.

#include <filesystem>
#include <string>
#include <vector>

namespace brindle {

struct FamilyName {
  std::string name;      // UTF-8
  std::string language;  // as fontconfig tags it: "en", "zh-cn", "zh-tw", ...; may be empty
};

struct InstalledFont {
  std::filesystem::path file;
  int index = 0;                            // the face within a collection file
  std::vector<FamilyName> families;         // in fontconfig's order
  int weight = 400;                         // OpenType scale: 400 regular, 700 bold
  bool italic = false;                      // italic or oblique
  bool covers_simplified_chinese = false;   // zh-cn
  bool covers_japanese = false;             // ja
  bool covers_traditional_chinese = false;  // zh-tw
};

// Every font face fontconfig knows, ordered by file and face index. Empty when fontconfig cannot
// be set up.
std::vector<InstalledFont> ListInstalledFonts();

}  // namespace brindle
