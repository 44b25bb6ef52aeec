#include "settings/panel_load.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/text_encoding.h"
#include "settings/options_file.h"
#include "settings/panel_choices.h"
#include "settings/panel_labels.h"
#include "settings/panel_states.h"
#include "settings/panel_validation.h"
#include "support/test_support.h"
#include "tools/output_options.h"

namespace brindle {
namespace {

const std::vector<std::string> kFontBox = {"宋体", "楷体", "DejaVu Sans", "DejaVu Serif"};

PanelValues Loaded(ProcessingOptions& options,
                   const std::vector<std::string>& font_box = kFontBox) {
  PanelValues panel;
  LoadPanelValues(options, font_box, panel);
  return panel;
}

TEST(LoadPanelValues, TheDefaultRecipeShowsAsAFreshPanelWithItsOwnValues) {
  ProcessingOptions options = InitialProcessingOptions();
  PanelValues panel = Loaded(options);
  EXPECT_FALSE(panel.resize);
  EXPECT_EQ(panel.size_text, "750");
  EXPECT_EQ(panel.zoom_unit, ZoomUnit::kPixel);
  EXPECT_TRUE(panel.keep_aspect);
  EXPECT_EQ(panel.quality_position, 91);
  EXPECT_EQ(QualityLabel(panel.quality_position), "91(高)");
  EXPECT_EQ(panel.max_file_size_text, "");  // 0 is "not set"
  EXPECT_EQ(panel.font_box_text, "宋体");
  EXPECT_EQ(panel.font_summary, "字体:宋体, 大小:26, 颜色:#000000");
  EXPECT_EQ(panel.font_size_text, "26");
  EXPECT_EQ(panel.text_placement, (PanelPlacement{2, "16", 2, "16"}));
  EXPECT_EQ(panel.background_colour, -1);
  EXPECT_EQ(panel.dpi_text, "");
  EXPECT_EQ(panel.to_colour_space, 2);
  EXPECT_EQ(KeepAspectText(panel), "高度等比例缩小");
}

TEST(LoadPanelValues, ConversionsOfTheShownValues) {
  ProcessingOptions options = InitialProcessingOptions();
  options.zoomUnit = ZoomUnit::kPercent;
  options.zoomType = ZoomType::kEnlarge;
  options.fSizeValue = 37.5f;
  options.maxFileSize = 300;
  options.sy_text_rotate = -5;
  options.sy_image_rotate = 45;
  options.sy_text_fontName = "dejavu SANS";
  options.dpi = 65536;
  options.sy_text_opacity = 0;  // below the slider's range
  options.sizeType = static_cast<SizeType>(7);
  options.sy_text_w_direction = 3;
  PanelValues panel = Loaded(options);

  EXPECT_EQ(panel.size_text, "37.50");
  EXPECT_EQ(panel.zoom_unit, ZoomUnit::kPercent);
  EXPECT_EQ(panel.zoom_type, 2);  // held at "缩放" in percent, "放大" comes back with pixels
  SetZoomUnit(panel, ZoomUnit::kPixel);
  EXPECT_EQ(panel.zoom_type, 1);
  EXPECT_EQ(panel.max_file_size_text, "300");
  EXPECT_EQ(panel.text_rotation_text, "0");
  EXPECT_EQ(panel.image_rotation_text, "45");
  // Letter case is ignored when choosing, but the recipe keeps the name it had.
  EXPECT_EQ(panel.font_box_text, "DejaVu Sans");
  EXPECT_EQ(panel.font_name, "dejavu SANS");
  EXPECT_EQ(panel.dpi_text, "");
  EXPECT_EQ(options.dpi, -1);
  EXPECT_EQ(panel.text_opacity, 1);
  EXPECT_EQ(panel.size_type, kNoChoice);
  EXPECT_EQ(panel.text_placement.horizontal, kNoChoice);

  options.dpi = 300;
  options.sy_text_fontName = "Arial";
  panel = Loaded(options);
  EXPECT_EQ(panel.dpi_text, "300");
  EXPECT_EQ(panel.font_box_text, "宋体");  // not offered: the first entry
  EXPECT_EQ(Loaded(options, {}).font_box_text, "");
}

TEST(LoadPanelValues, FontSummaryNamesTheStyle) {
  ProcessingOptions options = InitialProcessingOptions();
  options.sy_text_fontName = "楷体";
  options.sy_text_fontSize = 48;
  options.sy_text_htmlColor = "#ff8000";
  const std::string base = "字体:楷体, 大小:48, 颜色:#ff8000";
  struct Case {
    int italic;
    int weight;
    std::string expected;
  };
  for (const Case& c : {Case{0, 400, base}, Case{1, 400, base + ", 斜体"},
                        Case{0, 700, base + ", 粗体"}, Case{1, 401, base + ", 粗斜体"}}) {
    options.sy_text_isItalic = c.italic;
    options.sy_text_weight = c.weight;
    EXPECT_EQ(FontSummaryText(options), c.expected);
  }
}

TEST(LoadPanelValues, EnabledStatesFollowTheLoadedSwitches) {
  ProcessingOptions options = InitialProcessingOptions();
  options.bSize = 1;
  options.sizeType = SizeType::kLongerSide;
  options.bZoomSameScale = 0;
  options.bSYText = 1;
  options.sy_text_w_direction = 0;
  options.sy_text_h_direction = 1;
  options.bSYImage = 0;
  options.bColorspaceTo = 1;
  options.toColorspace = ColorspaceChoice::kCmyk;
  PanelValues panel = Loaded(options);
  EXPECT_TRUE(panel.keep_aspect);  // the longer side keeps the aspect: ticked and disabled
  PanelEnabledStates states = EnabledStates(panel);
  EXPECT_FALSE(states.keep_aspect);
  EXPECT_TRUE(states.zoom_type);
  EXPECT_FALSE(states.text_horizontal_margin);  // centred
  EXPECT_TRUE(states.text_vertical_margin);
  EXPECT_FALSE(states.image_horizontal_margin);  // the watermark is off
  EXPECT_TRUE(states.colour_space_lists);
  EXPECT_FALSE(states.srgb_icc);  // the target is CMYK
  EXPECT_EQ(GroupLayout(panel), (GroupHeights{317, 50, 51}));
}

// Everything on with values the panel can show: validating the loaded panel gives the recipe back.
TEST(LoadPanelValues, ValidatingALoadedRecipeGivesItBack) {
  test::EnsureMagick();
  ProcessingOptions options = InitialProcessingOptions();
  options.bSize = 1;
  options.zoomType = ZoomType::kScale;
  options.sizeType = SizeType::kHeight;
  options.sizeValue = 640;
  options.bZoomSameScale = 0;
  options.bQuanlity = 1;
  options.qualityMode = QualityMode::kMaxFileSize;
  options.maxFileSize = 250;
  options.bSYText = 1;  // with no text, nothing is checked or drawn
  options.sy_text_rotate = 30;
  options.sy_text_opacity = 55;
  options.sy_text_w_direction = 1;
  options.sy_text_w_value = 7;
  options.sy_text_h_direction = 0;
  options.sy_text_h_value = 9;
  options.sy_text_isItalic = 1;
  options.sy_text_isUnderlineDecoration = 1;
  options.sy_text_background_color = 0x123456;
  options.sy_text_border_size = 2;
  options.sy_text_border_corner_radius = 15;
  options.sy_text_border_color = 0x00ABCDEF;
  options.sy_text_padding_left_right = 4;
  options.sy_text_padding_top_bottom = 3;
  options.bTiled = 1;
  options.nTiledSpacing = 40;
  options.bSYImage = 1;
  options.sy_image_w_direction = 2;
  options.sy_image_w_value = 20;
  options.sy_image_h_direction = 1;
  options.sy_image_h_value = 30;
  options.sy_image_rotate = 90;
  options.sy_image_opacity = 70;
  options.sy_image_tiled = 1;
  options.sy_image_tiled_spacing = 8;
  options.bBorder = 1;
  options.border_location = BorderLocation::kInside;
  options.border_size = 5;
  options.border_color = 0x00FF00;
  options.border_padding = 2;
  options.bLight = 1;
  options.lightValue = -20;
  options.bContrast = 1;
  options.contrastValue = 15;
  options.bClearly = 1;
  options.clearlyValue = 60;
  options.bSaturation = 1;
  options.saturationValue = -100;
  options.bConvertBlackToWhite = 1;
  options.bRemovePhotoOtherInfo = 1;
  options.bColorspaceTo = 1;
  options.fromColorspace = ColorspaceChoice::kAll;
  options.toColorspace = ColorspaceChoice::kRgb;
  options.bUseSRGB_ICC = 1;
  options.bDpi = 1;
  options.dpi = 300;
  options.bDpiResample = 1;

  ProcessingOptions loaded = options;
  PanelValues panel = Loaded(loaded);
  // Into a zero-filled record, so a value validation forgets shows; these are not copied in this
  // configuration (pixel unit, file-size mode, fixed text size).
  ProcessingOptions expected = options;
  expected.fSizeValue = 0;
  expected.quanlity = 0;
  expected.nTextSizeScaleValue = 0;
  RunRecipe recipe{ProcessingOptions{}, nullptr};
  ASSERT_EQ(ValidatePanel(panel, recipe, FontCatalogue(), 96), std::nullopt);
  EXPECT_EQ(GbkToUtf8(FormatOptionsText(recipe.options)), GbkToUtf8(FormatOptionsText(expected)));
}

}  // namespace
}  // namespace brindle
