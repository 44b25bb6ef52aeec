#pragma once
// The font files the user gave face names by hand, kept in the preference store under "Fonts"
// (value name: face name, value: the font file's path), and the rules of adding and deleting one.
// The dialogs that show them belong to the desktop program.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/refusal.h"
#include "fonts/font_catalogue.h"
#include "fonts/song_face.h"
#include "prefs/preference_store.h"

namespace brindle {

// Limits of what is read back and typed (GBK bytes).
inline constexpr std::size_t kMappedFaceNameBytes = 127;
inline constexpr std::size_t kMappedFilePathBytes = 259;

// Control names of the add dialog, where a refusal points.
inline constexpr std::string_view kMappingNameControl = "font_mapping_name";
inline constexpr std::string_view kMappingPathControl = "font_mapping_path";

// All mappings in the store's order; none when the key is missing.
std::vector<FontMapping> ReadFontMappings(const PreferenceStore& store);

// What the add dialog's two boxes hold, cut to their limits and trimmed.
FontMapping FontMappingFromInput(std::string_view name_text, std::string_view path_text);

// The add dialog's rules, first failing one wins: an empty name, an empty path, a file that cannot
// be opened for reading, a name the catalogue already has. The refusal names the box and holds
// the hint (title "提示").
std::optional<Refusal> CheckFontMapping(const FontCatalogue& catalogue, const FontMapping& mapping);

// Adds a checked mapping: the catalogue gets an entry of its one face (the name offered at the end
// of the face-name list) and the store the value.
void AddFontMapping(const PreferenceStore& store, FontCatalogue& catalogue,
                    const FontMapping& mapping);

// Deletes a mapping from the store. The name leaves the catalogue only when its entry is this
// mapping's face: an installed face of the same name, which kept the mapping out of the catalogue
// at start, stays drawable and offered. True when the name left the catalogue.
bool DeleteFontMapping(const PreferenceStore& store, FontCatalogue& catalogue,
                       const FontMapping& mapping);

}  // namespace brindle
