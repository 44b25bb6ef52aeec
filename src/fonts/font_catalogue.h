#pragma once
// The font tables of the text watermark: which faces ImageMagick can draw with under each face name
// the user picks, which names can show Chinese, and the names offered in the font box. Built once
// from three sources: the installed font files (fontconfig), ImageMagick's own font list, and the
// font files the user mapped by hand.

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/magick/magick_font_list.h"
#include "platform/text/font_config.h"

namespace brindle {

struct FontFace {
  std::string type_name;  // handed to DrawSetFont; a font file's path for hand-mapped faces
  std::string family;     // may be empty
  std::string description;
  std::string glyph_file;
  int weight = 400;
  bool italic = false;
  bool operator==(const FontFace&) const = default;
};

// Above 400 counts as bold.
inline bool IsBold(const FontFace& face) { return face.weight > 400; }

// Whether a type name names a font file directly (hand-mapped faces) rather than a face of
// ImageMagick's list.
bool IsFontFileTypeName(std::string_view type_name);

// A face name given to a font file by hand.
struct FontMapping {
  std::string face_name;
  std::string file;
  bool operator==(const FontMapping&) const = default;
};

// The face of a hand mapping: the file is its type name and glyph file, no family, weight 400,
// not italic.
FontFace MappedFontFace(const FontMapping& mapping);

// Face names of installed fonts that can show Chinese or Japanese, each once.
using CjkFaceList = std::vector<std::string>;

// Face name (exact comparison) -> its faces in order; every name with faces is offered exactly
// once in the face-name list.
class FontCatalogue {
 public:
  // nullptr when the name has no entry.
  const std::vector<FontFace>* Find(std::string_view face_name) const;
  bool Contains(std::string_view face_name) const { return Find(face_name) != nullptr; }

  // Appends a face to the name's list; a new name is offered at the end of the face-name list.
  void AddFace(const std::string& face_name, FontFace face);
  // Removes the name and its faces; nothing happens for an unknown name.
  void Remove(std::string_view face_name);

  // The offered names: in the order they came until SortFaceNames.
  const std::vector<std::string>& face_names() const { return face_names_; }
  // Ascending, comparing case-insensitively (ASCII letters), Chinese names in their GBK order.
  void SortFaceNames();

  const CjkFaceList& cjk_faces() const { return cjk_faces_; }
  bool IsCjkFace(std::string_view face_name) const;
  void AddCjkFace(const std::string& face_name);

 private:
  std::unordered_map<std::string, std::vector<FontFace>> faces_;
  std::vector<std::string> face_names_;
  CjkFaceList cjk_faces_;
};

// The name an installed face is known by: the Chinese family name when the font carries one
// (simplified first), else its English (or first) name; among names of one language the last,
// which is the font's own family name rather than the typographic one shared with its wider and
// lighter siblings. Cut to 127 GBK bytes.
std::string InstalledFaceName(const InstalledFont& font);

// Builds the catalogue:
// 1. installed font files (".ttf", ".ttc", ".otf") with their face names;
// 2. ImageMagick's fonts whose glyph file is an installed file, under that file's face name; then
//    the CJK face list from the installed fonts (simplified Chinese, Japanese, traditional
//    Chinese);
// 3. without installed files, every ImageMagick font under its description instead;
// 4. the mappings, in order, whose file exists and whose name is still free;
// 5. the face names sorted.
// ImageMagick entries without a name or family, or with a "?" in either, are skipped.
FontCatalogue BuildFontCatalogue(const std::vector<InstalledFont>& installed,
                                 const std::vector<MagickFontEntry>& magick_fonts,
                                 const std::vector<FontMapping>& mappings);

// Merges hand mappings: each one whose file exists and whose name has no entry yet becomes an
// entry of that one face, offered at the end of the face-name list.
void MergeFontMappings(FontCatalogue& catalogue, const std::vector<FontMapping>& mappings);

// The catalogue of this machine: fontconfig's fonts, ImageMagick's list (ImageMagick must have
// been started), the user's mappings and then the Song face default (see DefaultSongFaceMapping).
FontCatalogue LoadFontCatalogue(const std::vector<FontMapping>& user_mappings);

// Orders face names as the font box shows them: names with Chinese (any non-ASCII) characters
// first, then the others, each group in the given order.
std::vector<std::string> FontBoxOrder(const std::vector<std::string>& sorted_names);

// The sort order of face names.
bool FaceNameLess(std::string_view a, std::string_view b);

}  // namespace brindle
