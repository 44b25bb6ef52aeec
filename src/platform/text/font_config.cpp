#include "platform/text/font_config.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <memory>
#include <tuple>

namespace brindle {
namespace {

struct FcConfigDeleter {
  void operator()(FcConfig* config) const {
    if (config) FcConfigDestroy(config);
  }
};
struct FcPatternDeleter {
  void operator()(FcPattern* pattern) const {
    if (pattern) FcPatternDestroy(pattern);
  }
};
struct FcObjectSetDeleter {
  void operator()(FcObjectSet* set) const {
    if (set) FcObjectSetDestroy(set);
  }
};
struct FcFontSetDeleter {
  void operator()(FcFontSet* set) const {
    if (set) FcFontSetDestroy(set);
  }
};

using FcConfigPtr = std::unique_ptr<FcConfig, FcConfigDeleter>;
using FcPatternPtr = std::unique_ptr<FcPattern, FcPatternDeleter>;
using FcObjectSetPtr = std::unique_ptr<FcObjectSet, FcObjectSetDeleter>;
using FcFontSetPtr = std::unique_ptr<FcFontSet, FcFontSetDeleter>;

std::string StringAt(const FcPattern* pattern, const char* object, int n) {
  FcChar8* value = nullptr;
  if (FcPatternGetString(pattern, object, n, &value) != FcResultMatch || !value) return {};
  return reinterpret_cast<const char*>(value);
}

// "zh-tw" is only a different territory of "zh-cn" to fontconfig; the coverage asked for here is
// the exact one.
bool Covers(const FcLangSet* languages, const char* language) {
  return languages &&
         FcLangSetHasLang(languages, reinterpret_cast<const FcChar8*>(language)) == FcLangEqual;
}

InstalledFont ReadFont(const FcPattern* pattern) {
  InstalledFont font;
  font.file = StringAt(pattern, FC_FILE, 0);
  FcPatternGetInteger(pattern, FC_INDEX, 0, &font.index);
  for (int n = 0;; ++n) {
    FcChar8* name = nullptr;
    if (FcPatternGetString(pattern, FC_FAMILY, n, &name) != FcResultMatch || !name) break;
    font.families.push_back(
        {reinterpret_cast<const char*>(name), StringAt(pattern, FC_FAMILYLANG, n)});
  }
  double weight = FC_WEIGHT_REGULAR;
  if (FcPatternGetDouble(pattern, FC_WEIGHT, 0, &weight) == FcResultMatch) {
    font.weight = static_cast<int>(FcWeightToOpenTypeDouble(weight) + 0.5);
  }
  int slant = FC_SLANT_ROMAN;
  FcPatternGetInteger(pattern, FC_SLANT, 0, &slant);
  font.italic = slant != FC_SLANT_ROMAN;
  FcLangSet* languages = nullptr;
  if (FcPatternGetLangSet(pattern, FC_LANG, 0, &languages) != FcResultMatch) languages = nullptr;
  font.covers_simplified_chinese = Covers(languages, "zh-cn");
  font.covers_japanese = Covers(languages, "ja");
  font.covers_traditional_chinese = Covers(languages, "zh-tw");
  return font;
}

}  // namespace

std::vector<InstalledFont> ListInstalledFonts() {
  std::vector<InstalledFont> fonts;
  FcConfigPtr config(FcInitLoadConfigAndFonts());
  if (!config) return fonts;
  FcPatternPtr everything(FcPatternCreate());
  FcObjectSetPtr objects(FcObjectSetBuild(FC_FILE, FC_INDEX, FC_FAMILY, FC_FAMILYLANG, FC_WEIGHT,
                                          FC_SLANT, FC_LANG, static_cast<char*>(nullptr)));
  if (!everything || !objects) return fonts;
  FcFontSetPtr set(FcFontList(config.get(), everything.get(), objects.get()));
  if (!set) return fonts;
  for (int i = 0; i < set->nfont; ++i) {
    InstalledFont font = ReadFont(set->fonts[i]);
    if (!font.file.empty()) fonts.push_back(std::move(font));
  }
  std::sort(fonts.begin(), fonts.end(), [](const InstalledFont& a, const InstalledFont& b) {
    return std::tie(a.file, a.index) < std::tie(b.file, b.index);
  });
  return fonts;
}

}  // namespace brindle
