#pragma once
// The font side of the text watermark: choosing a face of a face name by the bold and italic wish,
// font sizes in points at the screen's resolution, and whether a face can show a text.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fonts/font_catalogue.h"

namespace brindle {

// The screen resolution brindle-cli and the tests draw at (the desktop program asks the screen).
inline constexpr int kDefaultScreenDpi = 96;

// The face to draw with: the one whose boldness and italic flag both match the wish; else the last
// face that matches a set wish (grade 50), else the first face that matches an unset wish (grade
// 1), else the first face. nullptr for an empty list.
const FontFace* SelectFontFace(const std::vector<FontFace>& faces, bool bold, bool italic);

// The same for a face name of the catalogue; nullptr when the name has no entry.
const FontFace* SelectFontFace(const FontCatalogue& catalogue, std::string_view face_name,
                               bool bold, bool italic);

// The font file a face is drawn and measured with: its glyph file, made absolute, when that is a
// file that can be read now; nullopt otherwise. Given anything else, ImageMagick would look the name
// up in its own font list and fall back to a face of its choosing (Ghostscript's Helvetica, say).
std::optional<std::string> FaceFontFile(const FontFace& face);

// The font size in pixels of a point size: trunc(dpi × points ÷ 72).
int FontPixelSize(int screen_dpi, int points);

// Whether a text has characters that need a Chinese face (any byte outside ASCII).
bool NeedsChineseFace(std::string_view text);

// Whether the face can show text: it must be in the catalogue and its first face's font file
// (FaceFontFile) must measure a text; with the Chinese requirement it must also be a CJK face
// (unless it is a hand-mapped font file) and draw 中 wider than "a" (a face without Chinese glyphs
// draws an empty placeholder).
// ImageMagick must have been started.
bool FontSupportsText(const FontCatalogue& catalogue, std::string_view face_name,
                      bool needs_chinese);

}  // namespace brindle
