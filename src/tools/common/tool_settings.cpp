#include "tools/common/tool_settings.h"

#include <charconv>
#include <cstdint>
#include <functional>

namespace brindle {
namespace {

// One stored value: its name and how it is loaded and written. Number values have the number
// functions, text values the text ones.
template <typename Settings>
struct StoredValue {
  std::string_view name;
  std::function<void(Settings&, std::uint32_t)> load_number;
  std::function<std::uint32_t(const Settings&)> write_number;
  std::function<void(Settings&, std::string_view)> load_text;
  std::function<std::string(const Settings&)> write_text;
};

template <typename Settings>
using Table = std::vector<StoredValue<Settings>>;

// Taken as stored.
template <typename Settings>
StoredValue<Settings> Mask(std::string_view name, LoadFormatMask Settings::*field) {
  return {name, [=](Settings& s, std::uint32_t v) { s.*field = v; },
          [=](const Settings& s) { return s.*field; }, nullptr, nullptr};
}

// A check box that is on for any value but 0.
template <typename Settings>
StoredValue<Settings> OnUnlessZero(std::string_view name, bool Settings::*field) {
  return {name, [=](Settings& s, std::uint32_t v) { s.*field = v != 0; },
          [=](const Settings& s) { return s.*field ? 1u : 0u; }, nullptr, nullptr};
}

// A check box that is on only for 1.
template <typename Settings>
StoredValue<Settings> OnlyOne(std::string_view name, bool Settings::*field) {
  return {name, [=](Settings& s, std::uint32_t v) { s.*field = v == 1; },
          [=](const Settings& s) { return s.*field ? 1u : 0u; }, nullptr, nullptr};
}

// A number from low to high; anything else gives fallback.
template <typename Settings>
StoredValue<Settings> InRange(std::string_view name, int Settings::*field, int low, int high,
                              int fallback) {
  return {name,
          [=](Settings& s, std::uint32_t v) {
            s.*field = v >= static_cast<std::uint32_t>(low) && v <= static_cast<std::uint32_t>(high)
                           ? static_cast<int>(v)
                           : fallback;
          },
          [=](const Settings& s) { return static_cast<std::uint32_t>(s.*field); }, nullptr,
          nullptr};
}

// A list entry 0 to count − 1 (the values are unsigned, so "above" covers negative numbers too);
// anything else selects the first entry.
template <typename Settings, typename Entry>
StoredValue<Settings> ListEntry(std::string_view name, Entry Settings::*field, int count) {
  return {name,
          [=](Settings& s, std::uint32_t v) {
            s.*field = static_cast<Entry>(v < static_cast<std::uint32_t>(count) ? v : 0);
          },
          [=](const Settings& s) { return static_cast<std::uint32_t>(s.*field); }, nullptr,
          nullptr};
}

// A number box: shows a number from low to high and stays empty otherwise; written as its number,
// or 0 when empty.
template <typename Settings>
StoredValue<Settings> Box(std::string_view name, std::optional<int> Settings::*field, int low,
                          int high) {
  return {name,
          [=](Settings& s, std::uint32_t v) {
            if (v >= static_cast<std::uint32_t>(low) && v <= static_cast<std::uint32_t>(high)) {
              s.*field = static_cast<int>(v);
            } else {
              s.*field = std::nullopt;
            }
          },
          [=](const Settings& s) { return static_cast<std::uint32_t>((s.*field).value_or(0)); },
          nullptr, nullptr};
}

// The format list: exactly "PNG" selects PNG, anything else JPG; where the list offers them,
// exactly "WEBP" and "AVIF" select those.
template <typename Settings>
StoredValue<Settings> Format(std::string_view name, ToolOutputFormat Settings::*field,
                             bool web_formats = false) {
  return {name, nullptr, nullptr,
          [=](Settings& s, std::string_view text) {
            s.*field = text == "PNG"                    ? ToolOutputFormat::kPng
                       : web_formats && text == "WEBP" ? ToolOutputFormat::kWebp
                       : web_formats && text == "AVIF" ? ToolOutputFormat::kAvif
                                                       : ToolOutputFormat::kJpg;
          },
          [=](const Settings& s) { return std::string(OutputFormatText(s.*field)); }};
}

// The colour list: the entry of the stored number, else 256; written as the number only while
// PNG-8 is on.
template <typename Settings>
StoredValue<Settings> ColorCount(std::string_view name, int Settings::*field,
                                 bool Settings::*png8) {
  return {name, [=](Settings& s, std::uint32_t v) { s.*field = Png8ColorCountEntry(v); },
          [=](const Settings& s) {
            int count = s.*field;
            bool in_range = count >= 2 && count <= kDefaultPng8ColorCount;
            return static_cast<std::uint32_t>(s.*png8 && in_range ? count : kDefaultPng8ColorCount);
          },
          nullptr, nullptr};
}

template <typename Settings>
const Table<Settings>& TableOf();

template <>
const Table<ConvertToolSettings>& TableOf() {
  using S = ConvertToolSettings;
  static const Table<S> table = {
      Mask("convert_load_format_option", &S::load_format_option),
      Format("convert_format", &S::format, /*web_formats=*/true),
      InRange("convert_quality", &S::quality, kMinToolQuality, kMaxToolQuality,
              kDefaultToolQuality),
      OnUnlessZero("convert_transparent", &S::transparent),
      OnUnlessZero("convert_png8", &S::png8),
      ColorCount("convert_png8_color_count", &S::png8_color_count, &S::png8),
      OnUnlessZero("convert_is_save_original_file_extension_name", &S::keep_extension),
  };
  return table;
}

template <>
const Table<CropToolSettings>& TableOf() {
  using S = CropToolSettings;
  static const Table<S> table = {
      OnUnlessZero("crop_source_type", &S::picture_list_source),
      Mask("crop_load_format_option", &S::load_format_option),
      InRange("crop_mode", &S::mode, 0, 3, 0),
      InRange("crop_align", &S::align, 0, 4, 0),
      Box("crop_fixed_width", &S::fixed_width, 1, 9999),
      Box("crop_fixed_height", &S::fixed_height, 1, 9999),
      Box("crop_percent_width", &S::percent_width, 1, 100),
      Box("crop_percent_height", &S::percent_height, 1, 100),
      Box("crop_ratio_width", &S::ratio_width, 1, 9999),
      Box("crop_ratio_height", &S::ratio_height, 1, 9999),
      OnUnlessZero("crop_side_unit", &S::side_in_percent),
      Box("crop_side_fixed_left", &S::side_fixed_left, 0, 9999),
      Box("crop_side_fixed_right", &S::side_fixed_right, 0, 9999),
      Box("crop_side_fixed_top", &S::side_fixed_top, 0, 9999),
      Box("crop_side_fixed_bottom", &S::side_fixed_bottom, 0, 9999),
      Box("crop_side_percent_left", &S::side_percent_left, 1, 100),
      Box("crop_side_percent_right", &S::side_percent_right, 1, 100),
      Box("crop_side_percent_top", &S::side_percent_top, 1, 100),
      Box("crop_side_percent_bottom", &S::side_percent_bottom, 1, 100),
      Format("crop_format", &S::format),
      InRange("crop_quality", &S::quality, kMinToolQuality, kMaxToolQuality, kDefaultToolQuality),
      OnUnlessZero("crop_transparent", &S::transparent),
      OnUnlessZero("crop_png8", &S::png8),
      ColorCount("crop_png8_color_count", &S::png8_color_count, &S::png8),
  };
  return table;
}

template <>
const Table<PngToolSettings>& TableOf() {
  using S = PngToolSettings;
  static const Table<S> table = {
      OnUnlessZero("png_zoom_status", &S::zoom),
      ListEntry("png_zoom_1", &S::zoom_kind, 3),
      ListEntry("png_zoom_2", &S::zoom_side, 2),
      Box("png_zoom_value", &S::zoom_value, 1, 9999),
      OnUnlessZero("png_zoom_scale", &S::zoom_keep_proportions),
      OnlyOne("png_convert_to_black_white", &S::black_white),
      OnUnlessZero("png_transparent", &S::transparent),
      OnUnlessZero("png_png8", &S::png8),
      ColorCount("png_png8_color_count", &S::png8_color_count, &S::png8),
  };
  return table;
}

// join_layout: 1 is vertical, any other stored value horizontal; a missing value keeps vertical.
StoredValue<JoinToolSettings> JoinLayoutValue(std::string_view name) {
  return {name,
          [](JoinToolSettings& s, std::uint32_t v) {
            s.layout = v == 1 ? JoinLayout::kVertical : JoinLayout::kHorizontal;
          },
          [](const JoinToolSettings& s) { return static_cast<std::uint32_t>(s.layout); }, nullptr,
          nullptr};
}

template <>
const Table<JoinToolSettings>& TableOf() {
  using S = JoinToolSettings;
  static const Table<S> table = {
      OnUnlessZero("join_source_type", &S::picture_list_source),
      Mask("join_load_format_option", &S::load_format_option),
      OnlyOne("join_close_preview", &S::close_preview),
      JoinLayoutValue("join_layout"),
      ListEntry("join_width_or_height_index", &S::side_policy, 4),
      Box("join_width_or_height_value", &S::custom_length, 1, 9999),
      InRange("join_space", &S::space, 0, 128, 0),
      Format("join_format", &S::format),
      InRange("join_quality", &S::quality, kMinToolQuality, kMaxToolQuality, kDefaultToolQuality),
      OnUnlessZero("join_transparent", &S::transparent),
      OnUnlessZero("join_png8", &S::png8),
      ColorCount("join_png8_color_count", &S::png8_color_count, &S::png8),
  };
  return table;
}

template <>
const Table<SliceToolSettings>& TableOf() {
  using S = SliceToolSettings;
  static const Table<S> table = {
      Mask("slice_load_format_option", &S::load_format_option),
      OnUnlessZero("slice_horizontal", &S::horizontal),
      OnUnlessZero("slice_horizontal_avg", &S::horizontal_avg),
      Box("slice_horizontal_avg_value", &S::horizontal_avg_value, 1, 999),
      OnUnlessZero("slice_horizontal_pixel", &S::horizontal_pixel),
      Box("slice_horizontal_pixel_value", &S::horizontal_pixel_value, 1, 9999),
      OnUnlessZero("slice_vertical", &S::vertical),
      OnUnlessZero("slice_vertical_avg", &S::vertical_avg),
      Box("slice_vertical_avg_value", &S::vertical_avg_value, 1, 999),
      OnUnlessZero("slice_vertical_pixel", &S::vertical_pixel),
      Box("slice_vertical_pixel_value", &S::vertical_pixel_value, 1, 9999),
      OnUnlessZero("slice_save_subfolder_by_file_name", &S::save_subfolder_by_file_name),
      Format("slice_format", &S::format),
      InRange("slice_quality", &S::quality, kMinToolQuality, kMaxToolQuality, kDefaultToolQuality),
      OnUnlessZero("slice_transparent", &S::transparent),
      OnUnlessZero("slice_png8", &S::png8),
      ColorCount("slice_png8_color_count", &S::png8_color_count, &S::png8),
      OnUnlessZero("slice_save_html", &S::save_html),
  };
  return table;
}

// A DWORD given as text: decimal, optionally signed; negative numbers wrap as 32-bit values do.
bool ParseStoredNumber(std::string_view text, std::uint32_t& value) {
  long long number = 0;
  std::string_view digits = text;
  if (!digits.empty() && digits.front() == '+') digits.remove_prefix(1);
  auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
  if (error != std::errc() || end != digits.data() + digits.size() || digits.empty()) return false;
  if (number < INT32_MIN || number > static_cast<long long>(UINT32_MAX)) return false;
  value = static_cast<std::uint32_t>(number);
  return true;
}

}  // namespace

template <typename Settings>
Settings ReadToolSettings(const ToolValueReader& reader) {
  Settings settings;
  for (const StoredValue<Settings>& value : TableOf<Settings>()) {
    if (value.load_number) {
      std::uint32_t number = 0;
      if (reader.number(value.name, number)) value.load_number(settings, number);
    } else {
      std::string text;
      if (reader.text(value.name, text)) value.load_text(settings, text);
    }
  }
  return settings;
}

template <typename Settings>
void WriteToolSettings(const Settings& settings, const ToolValueWriter& writer) {
  for (const StoredValue<Settings>& value : TableOf<Settings>()) {
    if (value.write_number) {
      writer.number(value.name, value.write_number(settings));
    } else {
      writer.text(value.name, value.write_text(settings));
    }
  }
}

template <typename Settings>
OptionAssignResult AssignToolSetting(Settings& settings, std::string_view name,
                                     std::string_view text) {
  for (const StoredValue<Settings>& value : TableOf<Settings>()) {
    if (value.name != name) continue;
    if (value.load_text) {
      value.load_text(settings, text);
      return OptionAssignResult::kApplied;
    }
    std::uint32_t number = 0;
    if (!ParseStoredNumber(text, number)) return OptionAssignResult::kNotANumber;
    value.load_number(settings, number);
    return OptionAssignResult::kApplied;
  }
  return OptionAssignResult::kUnknownKey;
}

template <typename Settings>
std::vector<std::string_view> ToolSettingNames() {
  std::vector<std::string_view> names;
  for (const StoredValue<Settings>& value : TableOf<Settings>()) names.push_back(value.name);
  return names;
}

#define BRINDLE_TOOL_SETTINGS(Settings)                                                \
  template Settings ReadToolSettings<Settings>(const ToolValueReader&);                \
  template void WriteToolSettings<Settings>(const Settings&, const ToolValueWriter&);  \
  template OptionAssignResult AssignToolSetting<Settings>(Settings&, std::string_view, \
                                                          std::string_view);           \
  template std::vector<std::string_view> ToolSettingNames<Settings>();

BRINDLE_TOOL_SETTINGS(ConvertToolSettings)
BRINDLE_TOOL_SETTINGS(CropToolSettings)
BRINDLE_TOOL_SETTINGS(PngToolSettings)
BRINDLE_TOOL_SETTINGS(JoinToolSettings)
BRINDLE_TOOL_SETTINGS(SliceToolSettings)

}  // namespace brindle
