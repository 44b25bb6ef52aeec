#pragma once
// The tools' settings as plain values, and their stored form: named 32-bit numbers and texts, read
// when a tool opens (a value that is missing or breaks its rule keeps the default) and written, in
// table order, when a run starts. brindle-cli sets the same values from KEY=VALUE arguments with
// the same rules, on top of the defaults. tools/common/tool_settings_store.h binds them to the preference
// store.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "recipe/options_file.h"
#include "tools/common/load_format_mask.h"
#include "tools/common/output_options.h"
#include "tools/png/png_zoom_choice.h"

namespace brindle {

// The format conversion tool ("convert_" values).
struct ConvertToolSettings {
  LoadFormatMask load_format_option = 0;             // convert_load_format_option
  ToolOutputFormat format = ToolOutputFormat::kJpg;  // convert_format
  int quality = kDefaultToolQuality;                 // convert_quality
  bool transparent = true;                           // convert_transparent
  bool png8 = false;                                 // convert_png8
  int png8_color_count = kDefaultPng8ColorCount;     // convert_png8_color_count
  bool keep_extension = false;                       // convert_is_save_original_file_extension_name
};

// The crop tool ("crop_" values). Number boxes are empty (nullopt) or hold a number.
struct CropToolSettings {
  bool picture_list_source = false;                       // crop_source_type
  LoadFormatMask load_format_option = kBasicLoadFormats;  // crop_load_format_option
  int mode = 0;                                           // crop_mode, entry 0 to 3
  int align = 0;                                          // crop_align, 0 to 4
  std::optional<int> fixed_width, fixed_height;           // crop_fixed_*, 1 to 9999
  std::optional<int> percent_width, percent_height;       // crop_percent_*, 1 to 100
  std::optional<int> ratio_width, ratio_height;           // crop_ratio_*, 1 to 9999
  bool side_in_percent = false;                           // crop_side_unit
  std::optional<int> side_fixed_left, side_fixed_right, side_fixed_top,
      side_fixed_bottom;  // crop_side_fixed_*, 0 to 9999
  std::optional<int> side_percent_left, side_percent_right, side_percent_top,
      side_percent_bottom;                           // crop_side_percent_*, 1 to 100
  ToolOutputFormat format = ToolOutputFormat::kJpg;  // crop_format
  int quality = kDefaultToolQuality;                 // crop_quality
  bool transparent = true;                           // crop_transparent
  bool png8 = false;                                 // crop_png8
  int png8_color_count = kDefaultPng8ColorCount;     // crop_png8_color_count
};

// The PNG tool ("png_" values).
struct PngToolSettings {
  bool zoom = false;                              // png_zoom_status
  PngZoomKind zoom_kind = PngZoomKind::kShrink;   // png_zoom_1
  PngZoomSide zoom_side = PngZoomSide::kWidth;    // png_zoom_2
  std::optional<int> zoom_value;                  // png_zoom_value, 1 to 9999
  bool zoom_keep_proportions = true;              // png_zoom_scale
  bool black_white = false;                       // png_convert_to_black_white
  bool transparent = true;                        // png_transparent
  bool png8 = true;                               // png_png8
  int png8_color_count = kDefaultPng8ColorCount;  // png_png8_color_count
};

// The join tool ("join_" values).
enum class JoinLayout { kVertical = 1, kHorizontal = 2 };  // "竖排", "横排"
// How the common width (vertical) or height (horizontal) is chosen; one index serves both layouts.
enum class JoinSidePolicy { kFirstPicture = 0, kLargest = 1, kSmallest = 2, kCustom = 3 };

struct JoinToolSettings {
  bool picture_list_source = false;                            // join_source_type
  LoadFormatMask load_format_option = kBasicLoadFormats;       // join_load_format_option
  bool close_preview = false;                                  // join_close_preview
  JoinLayout layout = JoinLayout::kVertical;                   // join_layout
  JoinSidePolicy side_policy = JoinSidePolicy::kFirstPicture;  // join_width_or_height_index
  std::optional<int> custom_length;                  // join_width_or_height_value, 1 to 9999
  int space = 0;                                     // join_space, 0 to 128
  ToolOutputFormat format = ToolOutputFormat::kJpg;  // join_format
  int quality = kDefaultToolQuality;                 // join_quality
  bool transparent = true;                           // join_transparent
  bool png8 = false;                                 // join_png8
  int png8_color_count = kDefaultPng8ColorCount;     // join_png8_color_count
};

// The slice tool ("slice_" values). Each direction has its check box, two radio buttons (even count
// and pixels, as stored; the pixel radio decides when on) and a number box for each.
struct SliceToolSettings {
  LoadFormatMask load_format_option = kBasicLoadFormats;  // slice_load_format_option
  bool horizontal = false;                                // slice_horizontal ("水平划分为")
  bool horizontal_avg = true;                             // slice_horizontal_avg
  std::optional<int> horizontal_avg_value;                // slice_horizontal_avg_value, 1 to 999
  bool horizontal_pixel = false;                          // slice_horizontal_pixel
  std::optional<int> horizontal_pixel_value;              // slice_horizontal_pixel_value, 1 to 9999
  bool vertical = false;                                  // slice_vertical ("垂直划分为")
  bool vertical_avg = true;                               // slice_vertical_avg
  std::optional<int> vertical_avg_value;                  // slice_vertical_avg_value, 1 to 999
  bool vertical_pixel = false;                            // slice_vertical_pixel
  std::optional<int> vertical_pixel_value;                // slice_vertical_pixel_value, 1 to 9999
  bool save_subfolder_by_file_name = false;               // slice_save_subfolder_by_file_name
  ToolOutputFormat format = ToolOutputFormat::kJpg;       // slice_format
  int quality = kDefaultToolQuality;                      // slice_quality
  bool transparent = true;                                // slice_transparent
  bool png8 = false;                                      // slice_png8
  int png8_color_count = kDefaultPng8ColorCount;          // slice_png8_color_count
  bool save_html = true;                                  // slice_save_html
};

// Where the stored values come from: each returns false when the value is missing.
struct ToolValueReader {
  std::function<bool(std::string_view name, std::uint32_t& number)> number;
  std::function<bool(std::string_view name, std::string& text)> text;
};

struct ToolValueWriter {
  std::function<void(std::string_view name, std::uint32_t number)> number;
  std::function<void(std::string_view name, const std::string& text)> text;
};

// Reads a tool's values, each by its rule.
template <typename Settings>
Settings ReadToolSettings(const ToolValueReader& reader);

// Writes every value of a tool in table order.
template <typename Settings>
void WriteToolSettings(const Settings& settings, const ToolValueWriter& writer);

// Sets one value from its stored name and a text: a number for number values (a negative number
// is taken as the 32-bit value it stands for), any text for text values; then the load rule.
template <typename Settings>
OptionAssignResult AssignToolSetting(Settings& settings, std::string_view name,
                                     std::string_view value);

// The stored names of a tool's values, in table order.
template <typename Settings>
std::vector<std::string_view> ToolSettingNames();

}  // namespace brindle
