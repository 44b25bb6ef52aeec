#include "recipe/options_file.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <limits>
#include <optional>
#include <system_error>
#include <variant>

#include "base/number_text.h"
#include "platform/files/file_write.h"
#include "platform/text/text_case.h"
#include "platform/text/text_encoding.h"

namespace brindle {
namespace {

using PO = ProcessingOptions;

struct TextField {
  std::string PO::*member;
  std::size_t buffer_size;
};

using FieldRef = std::variant<std::int32_t PO::*, std::uint32_t PO::*, float PO::*, TextField,
                              ZoomType PO::*, SizeType PO::*, ZoomUnit PO::*, QualityMode PO::*,
                              BorderLocation PO::*, ColorspaceChoice PO::*, OutputFormat PO::*>;

struct OptionKey {
  std::string_view name;
  FieldRef field;
};

#define BRINDLE_FIELD(name) \
  OptionKey { #name, &PO::name }
#define BRINDLE_TEXT(name, size)         \
  OptionKey {                            \
#name, TextField { &PO::name, size } \
  }

// Writer order: the record's order, except that zoomUnit comes before sizeValue and fSizeValue.
const OptionKey kKeys[] = {
    BRINDLE_FIELD(bSize),
    BRINDLE_FIELD(zoomType),
    BRINDLE_FIELD(sizeType),
    BRINDLE_FIELD(zoomUnit),
    BRINDLE_FIELD(sizeValue),
    BRINDLE_FIELD(fSizeValue),
    BRINDLE_FIELD(bZoomSameScale),
    BRINDLE_FIELD(bQuanlity),
    BRINDLE_FIELD(quanlity),
    BRINDLE_FIELD(qualityMode),
    BRINDLE_FIELD(maxFileSize),
    BRINDLE_FIELD(bSYText),
    BRINDLE_TEXT(sy_text, kSyTextBufferSize),
    BRINDLE_FIELD(sy_text_rotate),
    BRINDLE_FIELD(sy_text_opacity),
    BRINDLE_FIELD(sy_text_w_direction),
    BRINDLE_FIELD(sy_text_w_value),
    BRINDLE_FIELD(sy_text_h_direction),
    BRINDLE_FIELD(sy_text_h_value),
    BRINDLE_TEXT(sy_text_fontName, kFontNameBufferSize),
    BRINDLE_FIELD(sy_text_fontSize),
    BRINDLE_FIELD(sy_text_isBold),
    BRINDLE_FIELD(sy_text_isItalic),
    BRINDLE_FIELD(sy_text_weight),
    BRINDLE_FIELD(sy_text_isUnderlineDecoration),
    BRINDLE_FIELD(sy_text_isLineThroughDecoration),
    BRINDLE_TEXT(sy_text_htmlColor, kHtmlColorBufferSize),
    BRINDLE_FIELD(sy_text_rgbColors),
    BRINDLE_FIELD(sy_text_background_color),
    BRINDLE_FIELD(sy_text_border_color),
    BRINDLE_FIELD(sy_text_border_size),
    BRINDLE_FIELD(sy_text_border_corner_radius),
    BRINDLE_FIELD(sy_text_padding_left_right),
    BRINDLE_FIELD(sy_text_padding_top_bottom),
    BRINDLE_FIELD(bTextSizeScale),
    BRINDLE_FIELD(nTextSizeScaleValue),
    BRINDLE_FIELD(nTextSizeScaleType),
    BRINDLE_FIELD(bTiled),
    BRINDLE_FIELD(nTiledSpacing),
    BRINDLE_FIELD(bSYImage),
    BRINDLE_TEXT(sy_image, kSyImageBufferSize),
    BRINDLE_FIELD(sy_image_w_direction),
    BRINDLE_FIELD(sy_image_w_value),
    BRINDLE_FIELD(sy_image_h_direction),
    BRINDLE_FIELD(sy_image_h_value),
    BRINDLE_FIELD(sy_image_rotate),
    BRINDLE_FIELD(sy_image_opacity),
    BRINDLE_FIELD(sy_image_tiled),
    BRINDLE_FIELD(sy_image_tiled_spacing),
    BRINDLE_FIELD(bBorder),
    BRINDLE_FIELD(border_location),
    BRINDLE_FIELD(border_size),
    BRINDLE_FIELD(border_color),
    BRINDLE_FIELD(border_padding),
    BRINDLE_FIELD(bLight),
    BRINDLE_FIELD(lightValue),
    BRINDLE_FIELD(bContrast),
    BRINDLE_FIELD(contrastValue),
    BRINDLE_FIELD(bClearly),
    BRINDLE_FIELD(clearlyValue),
    BRINDLE_FIELD(bSaturation),
    BRINDLE_FIELD(saturationValue),
    BRINDLE_FIELD(bConvertBlackToWhite),
    BRINDLE_FIELD(bRemovePhotoOtherInfo),
    BRINDLE_FIELD(bColorspaceTo),
    BRINDLE_FIELD(fromColorspace),
    BRINDLE_FIELD(toColorspace),
    BRINDLE_FIELD(bUseSRGB_ICC),
    BRINDLE_FIELD(bDpi),
    BRINDLE_FIELD(dpi),
    BRINDLE_FIELD(bDpiResample),
    BRINDLE_FIELD(outputFormat),
};

#undef BRINDLE_FIELD
#undef BRINDLE_TEXT

// The default recipe, in its own order (not the writer's).
const char* const kDefaultLines[] = {
    "bSize=0",
    "zoomType=0",
    "sizeType=0",
    "zoomUnit=0",
    "sizeValue=750",
    "fSizeValue=100",
    "bZoomSameScale=1",
    "bQuanlity=0",
    "quanlity=91",
    "qualityMode=0",
    "maxFileSize=0",
    "bTextSizeScale=0",
    "nTextSizeScaleValue=6",
    "nTextSizeScaleType=0",
    "bTiled=0",
    "nTiledSpacing=16",
    "sy_text=",
    "sy_text_w_direction=2",
    "sy_text_w_value=16",
    "sy_text_h_direction=2",
    "sy_text_h_value=16",
    "sy_text_rotate=0",
    "sy_text_opacity=100",
    "sy_text_fontName=宋体",
    "sy_text_fontSize=26",
    "sy_text_isBold=0",
    "sy_text_isItalic=0",
    "sy_text_weight=400",
    "sy_text_htmlColor=#000000",
    "sy_text_rgbColors=0",
    "sy_image=",
    "sy_image_w_direction=2",
    "sy_image_w_value=16",
    "sy_image_h_direction=2",
    "sy_image_h_value=16",
    "sy_image_rotate=0",
    "sy_image_opacity=100",
    "sy_image_tiled=0",
    "sy_image_tiled_spacing=16",
    "bDpi=0",
    "dpi=-1",
    "bDpiResample=0",
};

const OptionKey* FindKey(std::string_view name) {
  for (const OptionKey& key : kKeys) {
    if (key.name == name) return &key;
  }
  return nullptr;
}

// A decimal integer, optionally negative, filling the whole value. Values beyond 32 bits are
// refused; values from 2^31 to 2^32 - 1 are taken as their 32-bit pattern (colours are stored
// either way).
bool ParseInteger(std::string_view text, std::int32_t& out) {
  long long value = 0;
  const char* first = text.data();
  const char* last = text.data() + text.size();
  auto [end, ec] = std::from_chars(first, last, value);
  if (ec != std::errc() || end != last || text.empty()) return false;
  if (value < std::numeric_limits<std::int32_t>::min() ||
      value > static_cast<long long>(std::numeric_limits<std::uint32_t>::max())) {
    return false;
  }
  out = static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
  return true;
}

bool ParseFloat(std::string_view text, float& out) {
  float value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size() || text.empty()) return false;
  if (!std::isfinite(value)) return false;
  out = value;
  return true;
}

std::int32_t ApplyRangeRule(std::string_view key, std::int32_t value) {
  if (key == "zoomUnit" || key == "qualityMode") return (value == 0 || value == 1) ? value : 0;
  if (key == "maxFileSize") return (value >= 1 && value <= 99999) ? value : 0;
  return value;
}

std::string FormatLine(std::string_view key, const std::string& value) {
  std::string line(key);
  line += '=';
  line += value;
  line += "\r\n";
  return line;
}

// Whether a line that is not yet complete can still be a line the reader takes.
constexpr std::size_t kLongestUsefulLine = kMaxOptionKeyBytes + 1 + kMaxOptionValueBytes + 1;

void ApplyLine(ProcessingOptions& options, std::string_view line) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  std::size_t equals = line.find('=');
  if (equals == std::string_view::npos) return;
  std::string_view key = line.substr(0, equals);
  std::string_view value = line.substr(equals + 1);
  if (key.size() > kMaxOptionKeyBytes || value.size() > kMaxOptionValueBytes) return;
  AssignOption(options, key, GbkToUtf8(value));
}

}  // namespace

OptionAssignResult AssignOption(ProcessingOptions& options, std::string_view key,
                                std::string_view value) {
  const OptionKey* entry = FindKey(key);
  if (!entry) return OptionAssignResult::kUnknownKey;
  return std::visit(
      [&](auto field) -> OptionAssignResult {
        using Field = decltype(field);
        if constexpr (std::is_same_v<Field, TextField>) {
          options.*(field.member) = CutToGbkBytes(value, field.buffer_size - 1);
        } else if constexpr (std::is_same_v<Field, OutputFormat PO::*>) {
          std::optional<OutputFormat> format = OutputFormatFromText(value);
          if (!format) return OptionAssignResult::kNotANumber;
          options.*field = *format;
        } else if constexpr (std::is_same_v<Field, float PO::*>) {
          if (!ParseFloat(value, options.*field)) return OptionAssignResult::kNotANumber;
        } else {
          std::int32_t number = 0;
          if (!ParseInteger(value, number)) return OptionAssignResult::kNotANumber;
          using Value = std::remove_reference_t<decltype(options.*field)>;
          options.*field = static_cast<Value>(ApplyRangeRule(key, number));
        }
        return OptionAssignResult::kApplied;
      },
      entry->field);
}

const std::vector<std::string_view>& OptionKeys() {
  static const std::vector<std::string_view> keys = [] {
    std::vector<std::string_view> names;
    for (const OptionKey& key : kKeys) names.push_back(key.name);
    return names;
  }();
  return keys;
}

void SetReaderPresets(ProcessingOptions& o) {
  o.zoomType = ZoomType::kShrink;
  o.bZoomSameScale = 1;
  o.bDpi = 0;
  o.dpi = -1;
  o.bDpiResample = 0;
  o.bColorspaceTo = 0;
  o.fromColorspace = ColorspaceChoice::kCmyk;
  o.toColorspace = ColorspaceChoice::kSrgb;
  o.bUseSRGB_ICC = 0;
  o.sy_text_rotate = 0;
  o.sy_image_rotate = 0;
  o.sy_text_background_color = -1;
  o.sy_text_border_color = 0;
  o.sy_text_border_size = 0;
  o.sy_text_border_corner_radius = 0;
  o.sy_text_padding_left_right = 0;
  o.sy_text_padding_top_bottom = 0;
  o.zoomUnit = ZoomUnit::kPixel;
  o.fSizeValue = 100.0f;
  o.qualityMode = QualityMode::kFixedQuality;
  o.maxFileSize = 0;
  o.bTextSizeScale = 0;
  o.nTextSizeScaleValue = 6;
  o.nTextSizeScaleType = 0;
  o.bTiled = 0;
  o.nTiledSpacing = 16;
  o.sy_image_tiled = 0;
  o.sy_image_tiled_spacing = 16;
  o.sy_text_isBold = 0;
  o.sy_text_weight = 400;
  o.sy_text_fontSize = 26;
  o.bSaturation = 0;
  o.saturationValue = 0;
  o.outputFormat = OutputFormat::kJpg;
}

std::string_view OutputFormatText(OutputFormat format) {
  switch (format) {
    case OutputFormat::kWebp:
      return "WEBP";
    case OutputFormat::kAvif:
      return "AVIF";
    default:
      return "JPG";
  }
}

std::optional<OutputFormat> OutputFormatFromText(std::string_view text) {
  for (OutputFormat format : {OutputFormat::kJpg, OutputFormat::kWebp, OutputFormat::kAvif}) {
    if (EqualsIgnoringCase(text, OutputFormatText(format))) return format;
  }
  return std::nullopt;
}

bool ReadOptionsFile(ProcessingOptions& options, const std::filesystem::path& path) {
  // A folder opens like a file here and would read as an empty recipe.
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) return false;
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  SetReaderPresets(options);

  // Lines are taken as they stream in; a line too long to be taken is dropped up to its end without
  // being held, so even a huge or binary file costs a few kilobytes.
  std::string line;
  bool dropping = false;
  char chunk[65536];
  while (in.read(chunk, sizeof chunk) || in.gcount() > 0) {
    std::string_view data(chunk, static_cast<std::size_t>(in.gcount()));
    while (!data.empty()) {
      std::size_t lf = data.find('\n');
      std::string_view piece = data.substr(0, lf);
      if (!dropping) {
        line.append(piece);
        if (line.size() > kLongestUsefulLine) {
          dropping = true;
          line.clear();
        }
      }
      if (lf == std::string_view::npos) break;
      if (!dropping) ApplyLine(options, line);
      line.clear();
      dropping = false;
      data.remove_prefix(lf + 1);
    }
  }
  if (!dropping) ApplyLine(options, line);
  return true;
}

bool ReadConfigFile(ProcessingOptions& options, const std::filesystem::path& config_path) {
  std::error_code ec;
  if (!std::filesystem::exists(config_path, ec)) WriteDefaultOptionsFile(config_path);
  return ReadOptionsFile(options, config_path);
}

std::string FormatOptionsText(const ProcessingOptions& options) {
  std::string text;
  text.reserve(2048);
  for (const OptionKey& key : kKeys) {
    // A JPEG recipe reads and writes as it did before there was a choice.
    if (key.name == "outputFormat" && options.outputFormat == OutputFormat::kJpg) continue;
    std::string value = std::visit(
        [&](auto field) -> std::string {
          using Field = decltype(field);
          if constexpr (std::is_same_v<Field, TextField>) {
            return Utf8ToGbk(options.*(field.member));
          } else if constexpr (std::is_same_v<Field, OutputFormat PO::*>) {
            return std::string(OutputFormatText(options.*field));
          } else if constexpr (std::is_same_v<Field, float PO::*>) {
            return FixedText(static_cast<double>(options.*field), 6);
          } else {
            auto number = static_cast<std::int32_t>(options.*field);
            if (key.name == "dpi" && number == 0) number = -1;
            return std::to_string(number);
          }
        },
        key.field);
    text += FormatLine(key.name, value);
  }
  return text;
}

std::string DefaultOptionsText() {
  std::string text;
  for (const char* line : kDefaultLines) text += Utf8ToGbk(line) + "\r\n";
  return text;
}

bool WriteOptionsFile(const ProcessingOptions& options, const std::filesystem::path& path) {
  return WriteFileAtomically(path, FormatOptionsText(options));
}

bool WriteDefaultOptionsFile(const std::filesystem::path& path) {
  return WriteFileAtomically(path, DefaultOptionsText());
}

std::string WriteFailureText(const std::filesystem::path& path) {
  return std::string("保存图片设置到文件 ").append(path.string()).append(" 失败。");
}

}  // namespace brindle
