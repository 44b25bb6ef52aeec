#include "platform/magick/magick_font_list.h"

#include <wand/MagickWand.h>

#include <memory>

namespace brindle {
namespace {

struct ExceptionDeleter {
  void operator()(ExceptionInfo* exception) const {
    if (exception) DestroyExceptionInfo(exception);
  }
};

std::optional<std::string> Text(const char* text) {
  if (!text) return std::nullopt;
  return std::string(text);
}

}  // namespace

std::vector<MagickFontEntry> ListMagickFonts() {
  std::vector<MagickFontEntry> fonts;
  std::unique_ptr<ExceptionInfo, ExceptionDeleter> exception(AcquireExceptionInfo());
  size_t count = 0;
  // The array is ImageMagick's memory; the entries it points to belong to its type cache.
  std::unique_ptr<const TypeInfo*, void (*)(const TypeInfo**)> list(
      GetTypeInfoList("*", &count, exception.get()),
      [](const TypeInfo** array) { RelinquishMagickMemory(static_cast<void*>(array)); });
  if (!list) return fonts;
  for (size_t i = 0; i < count; ++i) {
    const TypeInfo* type = list.get()[i];
    if (!type) continue;
    MagickFontEntry entry;
    entry.name = Text(type->name);
    entry.family = Text(type->family);
    entry.description = type->description ? type->description : "";
    entry.glyph_file = type->glyphs ? type->glyphs : "";
    entry.weight = static_cast<int>(type->weight);
    entry.italic = type->style == ItalicStyle;
    fonts.push_back(std::move(entry));
  }
  return fonts;
}

}  // namespace brindle
