#include "fonts/font_catalogue.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "fonts/song_face.h"
#include "platform/text/text_encoding.h"

namespace brindle {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kFaceNameGbkBytes = 127;

// Only ASCII letters change case, whatever the locale; Chinese text keeps every byte.
int AsciiLower(unsigned char c) { return (c >= 'A' && c <= 'Z') ? c - 'A' + 'a' : c; }

// The font files of the first source: TrueType, TrueType collections and OpenType.
bool IsListedFontFile(const fs::path& file) {
  std::string extension = file.extension().string();
  for (char& c : extension) c = static_cast<char>(AsciiLower(static_cast<unsigned char>(c)));
  return extension == ".ttf" || extension == ".ttc" || extension == ".otf";
}

bool Acceptable(const std::optional<std::string>& text) {
  return text && text->find('?') == std::string::npos;
}

bool HasNonAscii(std::string_view text) {
  return std::any_of(text.begin(), text.end(),
                     [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
}

bool CarriesFamily(const InstalledFont& font, const std::string& family) {
  return std::any_of(font.families.begin(), font.families.end(),
                     [&](const FamilyName& name) { return name.name == family; });
}

// An installed face of the first source with the name it is known by.
struct InstalledFace {
  std::string face_name;
  const InstalledFont* font;
};

// The installed face an ImageMagick entry draws with: the face of its glyph file that carries its
// family name, else the file's first face (a collection file holds several); nullptr when the file
// is not an installed font file.
const InstalledFace* FindInstalledFace(
    const std::unordered_map<std::string, std::vector<InstalledFace>>& by_file,
    const MagickFontEntry& entry) {
  auto found = by_file.find(entry.glyph_file);
  if (found == by_file.end() || found->second.empty()) return nullptr;
  for (const InstalledFace& face : found->second) {
    if (CarriesFamily(*face.font, *entry.family)) return &face;
  }
  return &found->second.front();
}

FontFace MagickFace(const MagickFontEntry& entry) {
  FontFace face;
  face.type_name = *entry.name;
  face.family = *entry.family;
  face.description = entry.description;
  face.glyph_file = entry.glyph_file;
  face.weight = entry.weight;
  face.italic = entry.italic;
  return face;
}

}  // namespace

bool IsFontFileTypeName(std::string_view type_name) {
  return type_name.find(':') != std::string_view::npos ||
         (!type_name.empty() && type_name.front() == '/');
}

FontFace MappedFontFace(const FontMapping& mapping) {
  FontFace face;
  face.type_name = mapping.file;
  face.glyph_file = mapping.file;
  face.weight = 400;
  face.italic = false;
  return face;
}

const std::vector<FontFace>* FontCatalogue::Find(std::string_view face_name) const {
  auto found = faces_.find(std::string(face_name));
  return found == faces_.end() ? nullptr : &found->second;
}

void FontCatalogue::AddFace(const std::string& face_name, FontFace face) {
  auto [entry, inserted] = faces_.try_emplace(face_name);
  entry->second.push_back(std::move(face));
  if (inserted) face_names_.push_back(face_name);
}

void FontCatalogue::Remove(std::string_view face_name) {
  if (faces_.erase(std::string(face_name)) == 0) return;
  face_names_.erase(std::remove(face_names_.begin(), face_names_.end(), face_name),
                    face_names_.end());
}

void FontCatalogue::SortFaceNames() {
  std::stable_sort(face_names_.begin(), face_names_.end(),
                   [](const std::string& a, const std::string& b) { return FaceNameLess(a, b); });
}

bool FontCatalogue::IsCjkFace(std::string_view face_name) const {
  return std::find(cjk_faces_.begin(), cjk_faces_.end(), face_name) != cjk_faces_.end();
}

void FontCatalogue::AddCjkFace(const std::string& face_name) {
  if (!IsCjkFace(face_name)) cjk_faces_.push_back(face_name);
}

std::string InstalledFaceName(const InstalledFont& font) {
  if (font.families.empty()) return {};
  for (std::string_view language : {"zh-cn", "zh-sg", "zh", "zh-tw", "zh-hk", "zh-mo", "en"}) {
    auto last = std::find_if(font.families.rbegin(), font.families.rend(),
                             [&](const FamilyName& name) { return name.language == language; });
    if (last != font.families.rend()) return CutToGbkBytes(last->name, kFaceNameGbkBytes);
  }
  return CutToGbkBytes(font.families.front().name, kFaceNameGbkBytes);
}

FontCatalogue BuildFontCatalogue(const std::vector<InstalledFont>& installed,
                                 const std::vector<MagickFontEntry>& magick_fonts,
                                 const std::vector<FontMapping>& mappings) {
  FontCatalogue catalogue;

  // 1. The installed files, and the reverse map from each file to its faces.
  std::vector<InstalledFace> installed_faces;
  for (const InstalledFont& font : installed) {
    if (!IsListedFontFile(font.file)) continue;
    std::string face_name = InstalledFaceName(font);
    if (face_name.empty()) continue;
    installed_faces.push_back({std::move(face_name), &font});
  }
  std::unordered_map<std::string, std::vector<InstalledFace>> by_file;
  for (const InstalledFace& face : installed_faces) {
    by_file[face.font->file.string()].push_back(face);
  }

  if (!installed_faces.empty()) {
    // 2. ImageMagick's fonts that draw with an installed file, under that file's face name.
    for (const MagickFontEntry& entry : magick_fonts) {
      if (!Acceptable(entry.name) || !Acceptable(entry.family)) continue;
      const InstalledFace* installed_face = FindInstalledFace(by_file, entry);
      if (!installed_face) continue;
      FontFace face = MagickFace(entry);
      face.italic = installed_face->font->italic;
      catalogue.AddFace(installed_face->face_name, std::move(face));
    }
    // Simplified Chinese, Japanese, then traditional Chinese, as the character sets GB2312,
    // Shift-JIS and Big5 are asked for in that order.
    for (bool InstalledFont::*covers :
         {&InstalledFont::covers_simplified_chinese, &InstalledFont::covers_japanese,
          &InstalledFont::covers_traditional_chinese}) {
      for (const InstalledFace& face : installed_faces) {
        if (face.font->*covers) catalogue.AddCjkFace(face.face_name);
      }
    }
  } else {
    // 3. No installed-file information: ImageMagick's fonts under their descriptions.
    for (const MagickFontEntry& entry : magick_fonts) {
      if (!Acceptable(entry.name) || !Acceptable(entry.family)) continue;
      std::string face_name = CutToGbkBytes(entry.description, kFaceNameGbkBytes);
      // A blank entry in the font box could not be picked sensibly.
      if (face_name.empty()) continue;
      catalogue.AddFace(face_name, MagickFace(entry));
    }
  }

  // 4. The hand-made mappings.
  MergeFontMappings(catalogue, mappings);

  // 5.
  catalogue.SortFaceNames();
  return catalogue;
}

void MergeFontMappings(FontCatalogue& catalogue, const std::vector<FontMapping>& mappings) {
  for (const FontMapping& mapping : mappings) {
    std::error_code ec;
    if (mapping.face_name.empty() || catalogue.Contains(mapping.face_name)) continue;
    if (!fs::is_regular_file(mapping.file, ec)) continue;
    catalogue.AddFace(mapping.face_name, MappedFontFace(mapping));
  }
}

FontCatalogue LoadFontCatalogue(const std::vector<FontMapping>& user_mappings) {
  std::vector<InstalledFont> installed = ListInstalledFonts();
  std::vector<FontMapping> mappings = user_mappings;
  // After the user's own, so that a mapping of the same name made by the user wins.
  if (std::optional<FontMapping> song = DefaultSongFaceMapping(installed)) {
    mappings.push_back(std::move(*song));
  }
  return BuildFontCatalogue(installed, ListMagickFonts(), mappings);
}

std::vector<std::string> FontBoxOrder(const std::vector<std::string>& sorted_names) {
  std::vector<std::string> order = sorted_names;
  std::stable_partition(order.begin(), order.end(),
                        [](const std::string& name) { return HasNonAscii(name); });
  return order;
}

bool FaceNameLess(std::string_view a, std::string_view b) {
  const std::string ga = Utf8ToGbk(a);
  const std::string gb = Utf8ToGbk(b);
  const std::size_t n = std::min(ga.size(), gb.size());
  for (std::size_t i = 0; i < n; ++i) {
    int ca = AsciiLower(static_cast<unsigned char>(ga[i]));
    int cb = AsciiLower(static_cast<unsigned char>(gb[i]));
    if (ca != cb) return ca < cb;
  }
  return ga.size() < gb.size();
}

}  // namespace brindle
