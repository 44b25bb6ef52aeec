#include "engine/watermark/text_font.h"

#include <algorithm>
#include <filesystem>
#include <string>
#include <system_error>

#include "platform/files/file_access.h"
#include "platform/magick/magick_wand.h"

namespace brindle {
namespace {

// The right edge of the last glyph's bounding box, or nullopt when the text cannot be measured.
std::optional<double> GlyphRightEdge(MagickWand* picture, DrawingWand* drawing, const char* text) {
  double* metrics = MagickQueryFontMetrics(picture, drawing, text);
  TakeMagickError(picture);
  if (!metrics) return std::nullopt;
  const double x2 = metrics[9];
  MagickRelinquishMemory(metrics);
  return x2;
}

}  // namespace

const FontFace* SelectFontFace(const std::vector<FontFace>& faces, bool bold, bool italic) {
  if (faces.empty()) return nullptr;
  if (faces.size() == 1) return &faces.front();
  int grade = 0;
  const FontFace* candidate = nullptr;
  for (const FontFace& face : faces) {
    const bool face_bold = IsBold(face);
    if (face_bold == bold && face.italic == italic) return &face;
    if ((bold && face_bold && face.italic != italic) ||
        (italic && face.italic && face_bold != bold)) {
      grade = 50;
      candidate = &face;
    } else if (grade == 0 && ((!bold && !face_bold && face.italic != italic) ||
                              (!italic && !face.italic && face_bold != bold))) {
      grade = 1;
      candidate = &face;
    }
  }
  return candidate ? candidate : &faces.front();
}

const FontFace* SelectFontFace(const FontCatalogue& catalogue, std::string_view face_name,
                               bool bold, bool italic) {
  const std::vector<FontFace>* faces = catalogue.Find(face_name);
  return faces ? SelectFontFace(*faces, bold, italic) : nullptr;
}

std::optional<std::string> FaceFontFile(const FontFace& face) {
  if (face.glyph_file.empty()) return std::nullopt;
  std::error_code ec;
  // Absolute, so that no relative name starting with "-" or "@" reads as ImageMagick's X11 font or
  // file-list syntax.
  const std::filesystem::path file = std::filesystem::absolute(face.glyph_file, ec);
  if (ec || !CanOpenForReading(file)) return std::nullopt;
  return file.string();
}

int FontPixelSize(int screen_dpi, int points) {
  return static_cast<int>(static_cast<long long>(screen_dpi) * points / 72);
}

bool NeedsChineseFace(std::string_view text) {
  return std::any_of(text.begin(), text.end(),
                     [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
}

bool FontSupportsText(const FontCatalogue& catalogue, std::string_view face_name,
                      bool needs_chinese) {
  const std::vector<FontFace>* faces = catalogue.Find(face_name);
  if (needs_chinese && !catalogue.cjk_faces().empty()) {
    const bool mapped_file =
        faces && !faces->empty() && IsFontFileTypeName(faces->front().type_name);
    if (!mapped_file && !catalogue.IsCjkFace(face_name)) return false;
  }
  if (!faces || faces->empty()) return false;

  const std::optional<std::string> file = FaceFontFile(faces->front());
  if (!file) return false;

  MagickWandPtr picture = MakeMagickWand();
  PixelWandPtr none = MakePixelWand("none");
  if (MagickNewImage(picture.get(), 32, 32, none.get()) == MagickFalse) return false;
  DrawingWandPtr drawing = MakeDrawingWand();
  DrawSetTextEncoding(drawing.get(), "UTF-8");
  DrawSetFont(drawing.get(), file->c_str());

  std::optional<double> latin = GlyphRightEdge(picture.get(), drawing.get(), "a");
  if (!latin) return false;
  if (!needs_chinese) return true;
  std::optional<double> chinese = GlyphRightEdge(picture.get(), drawing.get(), "中");
  return chinese && *latin < *chinese - 0.099999;
}

}  // namespace brindle
