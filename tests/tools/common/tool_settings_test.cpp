#include "tools/common/tool_settings_store.h"

#include <gtest/gtest.h>

#include "support/test_support.h"

namespace brindle {
namespace {

using test::TempFolder;

class ToolSettingsTest : public ::testing::Test {
 protected:
  std::uint32_t Number(const char* name) const {
    std::uint32_t value = 0xBAD;
    EXPECT_TRUE(store_.ReadNumber("", name, value)) << name;
    return value;
  }
  std::string Text(const char* name) const {
    std::string value;
    EXPECT_TRUE(store_.ReadText("", name, value)) << name;
    return value;
  }

  TempFolder folder_;
  PreferenceStore store_{folder_ / "Brindle.ini"};
};

TEST_F(ToolSettingsTest, EmptyStoreGivesTheTablesDefaults) {
  ConvertToolSettings convert = LoadToolSettings<ConvertToolSettings>(store_);
  EXPECT_EQ(convert.load_format_option, 0u);
  EXPECT_EQ(convert.format, ToolOutputFormat::kJpg);
  EXPECT_EQ(convert.quality, 90);
  EXPECT_TRUE(convert.transparent);
  EXPECT_FALSE(convert.png8);
  EXPECT_EQ(convert.png8_color_count, 256);
  EXPECT_FALSE(convert.keep_extension);

  CropToolSettings crop = LoadToolSettings<CropToolSettings>(store_);
  EXPECT_EQ(crop.load_format_option, 15u);
  EXPECT_FALSE(crop.picture_list_source);
  EXPECT_EQ(crop.fixed_width, std::nullopt);
  EXPECT_FALSE(crop.png8);

  PngToolSettings png = LoadToolSettings<PngToolSettings>(store_);
  EXPECT_FALSE(png.zoom);
  EXPECT_EQ(png.zoom_kind, PngZoomKind::kShrink);
  EXPECT_EQ(png.zoom_side, PngZoomSide::kWidth);
  EXPECT_EQ(png.zoom_value, std::nullopt);
  EXPECT_TRUE(png.zoom_keep_proportions);
  EXPECT_FALSE(png.black_white);
  EXPECT_TRUE(png.transparent);
  EXPECT_TRUE(png.png8);  // on by default in the PNG tool only
  EXPECT_EQ(png.png8_color_count, 256);
}

TEST_F(ToolSettingsTest, ConvertLoadRules) {
  store_.WriteNumber("", "convert_load_format_option", 0x1FFu);
  store_.WriteText("", "convert_format", "PNG");
  store_.WriteNumber("", "convert_quality", 100);
  store_.WriteNumber("", "convert_transparent", 7);
  store_.WriteNumber("", "convert_png8", 3);
  store_.WriteNumber("", "convert_png8_color_count", 16);
  store_.WriteNumber("", "convert_is_save_original_file_extension_name", 1);
  ConvertToolSettings s = LoadToolSettings<ConvertToolSettings>(store_);
  EXPECT_EQ(s.load_format_option, 0x1FFu);  // the reserved bit 7 is kept
  EXPECT_EQ(s.format, ToolOutputFormat::kPng);
  EXPECT_EQ(s.quality, 100);
  EXPECT_TRUE(s.transparent);
  EXPECT_TRUE(s.png8);
  EXPECT_EQ(s.png8_color_count, 16);
  EXPECT_TRUE(s.keep_extension);

  store_.WriteText("", "convert_format", "png");
  store_.WriteNumber("", "convert_quality", 9);
  store_.WriteNumber("", "convert_transparent", 0);
  store_.WriteNumber("", "convert_png8_color_count", 300);
  s = LoadToolSettings<ConvertToolSettings>(store_);
  EXPECT_EQ(s.format, ToolOutputFormat::kJpg);  // only exactly "PNG" selects PNG
  EXPECT_EQ(s.quality, 90);
  EXPECT_FALSE(s.transparent);
  EXPECT_EQ(s.png8_color_count, 256);

  store_.WriteNumber("", "convert_quality", 101);
  EXPECT_EQ(LoadToolSettings<ConvertToolSettings>(store_).quality, 90);
  store_.WriteNumber("", "convert_quality", 10);
  EXPECT_EQ(LoadToolSettings<ConvertToolSettings>(store_).quality, 10);
}

TEST_F(ToolSettingsTest, PngLoadRules) {
  store_.WriteNumber("", "png_zoom_1", 3);
  store_.WriteNumber("", "png_zoom_2", 2);
  store_.WriteNumber("", "png_zoom_value", 10000);
  store_.WriteNumber("", "png_zoom_scale", 0);
  store_.WriteNumber("", "png_convert_to_black_white", 2);
  store_.WriteNumber("", "png_png8", 5);
  PngToolSettings s = LoadToolSettings<PngToolSettings>(store_);
  EXPECT_EQ(s.zoom_kind, PngZoomKind::kShrink);
  EXPECT_EQ(s.zoom_side, PngZoomSide::kWidth);
  EXPECT_EQ(s.zoom_value, std::nullopt);
  EXPECT_FALSE(s.zoom_keep_proportions);
  EXPECT_FALSE(s.black_white);  // on only when stored as 1
  EXPECT_TRUE(s.png8);

  store_.WriteNumber("", "png_zoom_status", 1);
  store_.WriteNumber("", "png_zoom_1", 2);
  store_.WriteNumber("", "png_zoom_2", 1);
  store_.WriteNumber("", "png_zoom_value", 9999);
  store_.WriteNumber("", "png_convert_to_black_white", 1);
  store_.WriteNumber("", "png_png8", 0);
  store_.WriteNumber("", "png_transparent", 0);
  s = LoadToolSettings<PngToolSettings>(store_);
  EXPECT_TRUE(s.zoom);
  EXPECT_EQ(s.zoom_kind, PngZoomKind::kScale);
  EXPECT_EQ(s.zoom_side, PngZoomSide::kHeight);
  EXPECT_EQ(s.zoom_value, 9999);
  EXPECT_TRUE(s.black_white);
  EXPECT_FALSE(s.png8);
  EXPECT_FALSE(s.transparent);

  store_.WriteNumber("", "png_zoom_value", 0);
  store_.WriteNumber("", "png_zoom_1", 0xFFFFFFFFu);
  s = LoadToolSettings<PngToolSettings>(store_);
  EXPECT_EQ(s.zoom_value, std::nullopt);
  EXPECT_EQ(s.zoom_kind, PngZoomKind::kShrink);
}

TEST_F(ToolSettingsTest, CropLoadRules) {
  store_.WriteNumber("", "crop_align", 5);
  store_.WriteNumber("", "crop_mode", 3);
  store_.WriteNumber("", "crop_fixed_width", 9999);
  store_.WriteNumber("", "crop_percent_width", 101);
  store_.WriteNumber("", "crop_side_fixed_left", 0);
  store_.WriteNumber("", "crop_side_percent_left", 0);
  store_.WriteNumber("", "crop_source_type", 2);
  CropToolSettings s = LoadToolSettings<CropToolSettings>(store_);
  EXPECT_EQ(s.align, 0);
  EXPECT_EQ(s.mode, 3);
  EXPECT_EQ(s.fixed_width, 9999);
  EXPECT_EQ(s.percent_width, std::nullopt);
  EXPECT_EQ(s.side_fixed_left, 0);  // a fixed margin box shows 0
  EXPECT_EQ(s.side_percent_left, std::nullopt);
  EXPECT_TRUE(s.picture_list_source);
}

TEST_F(ToolSettingsTest, WriteRules) {
  ConvertToolSettings convert;
  convert.load_format_option = kLoadWebp | kLoadHeic;
  convert.format = ToolOutputFormat::kPng;
  convert.quality = 75;
  convert.transparent = false;
  convert.png8 = false;
  convert.png8_color_count = 16;
  convert.keep_extension = true;
  WriteToolSettings(store_, convert);
  EXPECT_EQ(Number("convert_load_format_option"), 384u);
  EXPECT_EQ(Text("convert_format"), "PNG");
  EXPECT_EQ(Number("convert_quality"), 75u);
  EXPECT_EQ(Number("convert_transparent"), 0u);
  EXPECT_EQ(Number("convert_png8"), 0u);
  EXPECT_EQ(Number("convert_png8_color_count"), 256u);  // the count is kept only with PNG-8 on
  EXPECT_EQ(Number("convert_is_save_original_file_extension_name"), 1u);

  convert.png8 = true;
  WriteToolSettings(store_, convert);
  EXPECT_EQ(Number("convert_png8_color_count"), 16u);
  EXPECT_EQ(Number("convert_png8"), 1u);

  PngToolSettings png;
  png.zoom_value = std::nullopt;
  png.zoom_kind = PngZoomKind::kEnlarge;
  WriteToolSettings(store_, png);
  EXPECT_EQ(Number("png_zoom_value"), 0u);
  EXPECT_EQ(Number("png_zoom_1"), 1u);
  EXPECT_EQ(Number("png_png8"), 1u);
  EXPECT_EQ(Number("png_png8_color_count"), 256u);
  EXPECT_EQ(Number("png_zoom_scale"), 1u);

  // Every value of a table is written, and a written table loads as it was.
  CropToolSettings crop;
  crop.side_fixed_top = 12;
  crop.ratio_height = 9;
  crop.format = ToolOutputFormat::kPng;
  WriteToolSettings(store_, crop);
  for (std::string_view name : ToolSettingNames<CropToolSettings>()) {
    std::uint32_t number = 0;
    std::string text;
    EXPECT_TRUE(store_.ReadNumber("", name, number) || store_.ReadText("", name, text)) << name;
  }
  EXPECT_EQ(ToolSettingNames<CropToolSettings>().size(), 24u);
  CropToolSettings loaded = LoadToolSettings<CropToolSettings>(store_);
  EXPECT_EQ(loaded.side_fixed_top, 12);
  EXPECT_EQ(loaded.ratio_height, 9);
  EXPECT_EQ(loaded.fixed_width, std::nullopt);
  EXPECT_EQ(loaded.format, ToolOutputFormat::kPng);
}

TEST(AssignToolSetting, AppliesTheLoadRulesToKeyValueTexts) {
  ConvertToolSettings s;
  EXPECT_EQ(AssignToolSetting(s, "convert_quality", "70"), OptionAssignResult::kApplied);
  EXPECT_EQ(s.quality, 70);
  EXPECT_EQ(AssignToolSetting(s, "convert_quality", "5"), OptionAssignResult::kApplied);
  EXPECT_EQ(s.quality, 90);
  EXPECT_EQ(AssignToolSetting(s, "convert_format", "PNG"), OptionAssignResult::kApplied);
  EXPECT_EQ(s.format, ToolOutputFormat::kPng);
  EXPECT_EQ(AssignToolSetting(s, "convert_format", "gif"), OptionAssignResult::kApplied);
  EXPECT_EQ(s.format, ToolOutputFormat::kJpg);
  EXPECT_EQ(AssignToolSetting(s, "convert_load_format_option", "256"),
            OptionAssignResult::kApplied);
  EXPECT_EQ(s.load_format_option, 256u);
  EXPECT_EQ(AssignToolSetting(s, "convert_png8_color_count", "300"), OptionAssignResult::kApplied);
  EXPECT_EQ(s.png8_color_count, 256);

  EXPECT_EQ(AssignToolSetting(s, "convert_quality", "high"), OptionAssignResult::kNotANumber);
  EXPECT_EQ(AssignToolSetting(s, "convert_quality", ""), OptionAssignResult::kNotANumber);
  EXPECT_EQ(AssignToolSetting(s, "convert_quality", "80x"), OptionAssignResult::kNotANumber);
  EXPECT_EQ(AssignToolSetting(s, "convert_quality", "4294967296"), OptionAssignResult::kNotANumber);
  EXPECT_EQ(s.quality, 90);
  EXPECT_EQ(AssignToolSetting(s, "png_png8", "1"), OptionAssignResult::kUnknownKey);

  PngToolSettings png;
  // A negative number stands for the 32-bit value it is stored as.
  EXPECT_EQ(AssignToolSetting(png, "png_zoom_1", "-1"), OptionAssignResult::kApplied);
  EXPECT_EQ(png.zoom_kind, PngZoomKind::kShrink);
  EXPECT_EQ(AssignToolSetting(png, "png_zoom_value", "+800"), OptionAssignResult::kApplied);
  EXPECT_EQ(png.zoom_value, 800);
  EXPECT_EQ(AssignToolSetting(png, "png_zoom_value", "0"), OptionAssignResult::kApplied);
  EXPECT_EQ(png.zoom_value, std::nullopt);
}

TEST_F(ToolSettingsTest, JoinLoadAndWriteRules) {
  JoinToolSettings s = LoadToolSettings<JoinToolSettings>(store_);
  EXPECT_FALSE(s.picture_list_source);
  EXPECT_EQ(s.load_format_option, 15u);
  EXPECT_EQ(s.layout, JoinLayout::kVertical);  // missing keeps vertical
  EXPECT_EQ(s.side_policy, JoinSidePolicy::kFirstPicture);
  EXPECT_EQ(s.custom_length, std::nullopt);
  EXPECT_EQ(s.space, 0);
  EXPECT_TRUE(s.transparent);
  EXPECT_FALSE(s.png8);

  store_.WriteNumber("", "join_source_type", 5);
  store_.WriteNumber("", "join_close_preview", 2);  // on only for 1
  store_.WriteNumber("", "join_layout", 0);         // anything but 1 is horizontal
  store_.WriteNumber("", "join_width_or_height_index", 3);
  store_.WriteNumber("", "join_width_or_height_value", 9999);
  store_.WriteNumber("", "join_space", 128);
  store_.WriteText("", "join_format", "PNG");
  store_.WriteNumber("", "join_png8", 1);
  store_.WriteNumber("", "join_png8_color_count", 16);
  s = LoadToolSettings<JoinToolSettings>(store_);
  EXPECT_TRUE(s.picture_list_source);
  EXPECT_FALSE(s.close_preview);
  EXPECT_EQ(s.layout, JoinLayout::kHorizontal);
  EXPECT_EQ(s.side_policy, JoinSidePolicy::kCustom);
  EXPECT_EQ(s.custom_length, 9999);
  EXPECT_EQ(s.space, 128);
  EXPECT_EQ(s.format, ToolOutputFormat::kPng);
  EXPECT_EQ(s.png8_color_count, 16);

  store_.WriteNumber("", "join_width_or_height_index", 4);
  store_.WriteNumber("", "join_width_or_height_value", 10000);
  store_.WriteNumber("", "join_space", 129);
  store_.WriteNumber("", "join_quality", 101);
  store_.WriteNumber("", "join_layout", 1);
  s = LoadToolSettings<JoinToolSettings>(store_);
  EXPECT_EQ(s.side_policy, JoinSidePolicy::kFirstPicture);
  EXPECT_EQ(s.custom_length, std::nullopt);
  EXPECT_EQ(s.space, 0);
  EXPECT_EQ(s.quality, 90);
  EXPECT_EQ(s.layout, JoinLayout::kVertical);

  // Written in table order; the layout as 1 or 2, an empty box as 0, the colours only with PNG-8.
  s.layout = JoinLayout::kHorizontal;
  s.png8 = false;
  WriteToolSettings(store_, s);
  EXPECT_EQ(Number("join_layout"), 2u);
  EXPECT_EQ(Number("join_width_or_height_value"), 0u);
  EXPECT_EQ(Number("join_png8_color_count"), 256u);
  EXPECT_EQ(Text("join_format"), "PNG");
  std::vector<std::string_view> names = ToolSettingNames<JoinToolSettings>();
  ASSERT_EQ(names.size(), 12u);
  EXPECT_EQ(names.front(), "join_source_type");
  EXPECT_EQ(names.back(), "join_png8_color_count");
}

TEST_F(ToolSettingsTest, SliceLoadAndWriteRules) {
  SliceToolSettings s = LoadToolSettings<SliceToolSettings>(store_);
  EXPECT_EQ(s.load_format_option, 15u);
  EXPECT_TRUE(s.horizontal_avg);
  EXPECT_TRUE(s.save_html);  // on when missing

  store_.WriteNumber("", "slice_horizontal_avg_value", 1000);
  store_.WriteNumber("", "slice_horizontal_pixel_value", 9999);
  store_.WriteNumber("", "slice_save_html", 0);
  s = LoadToolSettings<SliceToolSettings>(store_);
  EXPECT_EQ(s.horizontal_avg_value, std::nullopt);
  EXPECT_EQ(s.horizontal_pixel_value, 9999);
  EXPECT_FALSE(s.save_html);

  s.horizontal_pixel = true;
  s.png8_color_count = 64;
  WriteToolSettings(store_, s);
  EXPECT_EQ(ToolSettingNames<SliceToolSettings>().size(), 18u);
  EXPECT_EQ(Number("slice_horizontal_pixel"), 1u);
  EXPECT_EQ(Number("slice_horizontal_avg_value"), 0u);  // an empty box is written as 0
  EXPECT_EQ(Number("slice_png8_color_count"), 256u);    // PNG-8 is off
}

}  // namespace
}  // namespace brindle
