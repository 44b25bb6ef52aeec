#include "fonts/font_mapping.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>

#include "platform/text/text_encoding.h"
#include "platform/text/text_trim.h"
#include "prefs/preferences.h"

namespace brindle {
namespace {

namespace fs = std::filesystem;

bool CanBeRead(const std::string& path) {
  std::error_code ec;
  if (fs::is_directory(path, ec)) return false;
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"),
                                                       &std::fclose);
  return file != nullptr;
}

Refusal HintAt(std::string_view control, const char* text) {
  return HintRefusal(std::string(control), "提示", text);
}

}  // namespace

std::vector<FontMapping> ReadFontMappings(const PreferenceStore& store) {
  std::vector<FontMapping> mappings;
  for (const std::string& name : store.ValueNames(kFontsKey)) {
    std::string file;
    if (!store.ReadText(kFontsKey, name, file)) continue;
    mappings.push_back(
        {CutToGbkBytes(name, kMappedFaceNameBytes), CutToGbkBytes(file, kMappedFilePathBytes)});
  }
  return mappings;
}

FontMapping FontMappingFromInput(std::string_view name_text, std::string_view path_text) {
  const std::string name = CutToGbkBytes(name_text, kMappedFaceNameBytes);
  const std::string path = CutToGbkBytes(path_text, kMappedFilePathBytes);
  return {std::string(TrimBlanks(name)), std::string(TrimBlanks(path))};
}

std::optional<Refusal> CheckFontMapping(const FontCatalogue& catalogue,
                                        const FontMapping& mapping) {
  if (mapping.face_name.empty()) return HintAt(kMappingNameControl, "字体名称不能为空");
  if (mapping.file.empty()) return HintAt(kMappingPathControl, "字体路径不能为空");
  if (!CanBeRead(mapping.file)) return HintAt(kMappingPathControl, "字体路径不存在，请重新选择。");
  if (catalogue.Contains(mapping.face_name)) {
    return HintAt(kMappingNameControl, "字体名称已存在，请重新输入");
  }
  return std::nullopt;
}

void AddFontMapping(const PreferenceStore& store, FontCatalogue& catalogue,
                    const FontMapping& mapping) {
  catalogue.Remove(mapping.face_name);
  catalogue.AddFace(mapping.face_name, MappedFontFace(mapping));
  store.WriteText(kFontsKey, mapping.face_name, mapping.file);
}

bool DeleteFontMapping(const PreferenceStore& store, FontCatalogue& catalogue,
                       const FontMapping& mapping) {
  store.DeleteValue(kFontsKey, mapping.face_name);
  const std::vector<FontFace>* faces = catalogue.Find(mapping.face_name);
  if (!faces || *faces != std::vector<FontFace>{MappedFontFace(mapping)}) return false;
  catalogue.Remove(mapping.face_name);
  return true;
}

}  // namespace brindle
