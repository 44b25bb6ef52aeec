#include "panel/values/panel_load.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "panel/rules/panel_states.h"
#include "panel/rules/panel_validation.h"
#include "panel/values/panel_choices.h"
#include "panel/values/panel_labels.h"
#include "platform/text/text_encoding.h"
#include "recipe/options_file.h"
#include "support/test_support.h"
#include "tools/common/output_options.h"

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
  // The text watermark is on without a text, so nothing is checked or drawn.
  const std::string recipe_text =
      "bSize=1 zoomType=2 sizeType=1 sizeValue=640 bZoomSameScale=0 bQuanlity=1 qualityMode=1 "
      "maxFileSize=250 bSYText=1 sy_text_rotate=30 sy_text_opacity=55 sy_text_w_direction=1 "
      "sy_text_w_value=7 sy_text_h_direction=0 sy_text_h_value=9 sy_text_isItalic=1 "
      "sy_text_isUnderlineDecoration=1 sy_text_background_color=1193046 sy_text_border_size=2 "
      "sy_text_border_corner_radius=15 sy_text_border_color=11259375 sy_text_padding_left_right=4 "
      "sy_text_padding_top_bottom=3 bTiled=1 nTiledSpacing=40 bSYImage=1 sy_image_w_direction=2 "
      "sy_image_w_value=20 sy_image_h_direction=1 sy_image_h_value=30 sy_image_rotate=90 "
      "sy_image_opacity=70 sy_image_tiled=1 sy_image_tiled_spacing=8 bBorder=1 border_location=1 "
      "border_size=5 border_color=65280 border_padding=2 bLight=1 lightValue=-20 bContrast=1 "
      "contrastValue=15 bClearly=1 clearlyValue=60 bSaturation=1 saturationValue=-100 "
      "bConvertBlackToWhite=1 bRemovePhotoOtherInfo=1 bColorspaceTo=1 fromColorspace=3 "
      "toColorspace=1 bUseSRGB_ICC=1 bDpi=1 dpi=300 bDpiResample=1";
  ProcessingOptions options = InitialProcessingOptions();
  std::istringstream settings(recipe_text);
  for (std::string setting; settings >> setting;) {
    const std::size_t equals = setting.find('=');
    ASSERT_EQ(AssignOption(options, setting.substr(0, equals), setting.substr(equals + 1)),
              OptionAssignResult::kApplied)
        << setting;
  }

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

TEST(ApplyOptionsToPanel, LoadsTheFileIntoTheRecordAndThePanel) {
  test::TempFolder home;
  std::filesystem::create_directories(home / "sz");
  ProcessingOptions saved = InitialProcessingOptions();
  saved.bSize = 1;
  saved.zoomUnit = ZoomUnit::kPercent;
  saved.fSizeValue = 50.5;
  saved.dpi = 0;
  ASSERT_TRUE(WriteOptionsFile(saved, home / "sz/mine.sz"));

  ProcessingOptions options = InitialProcessingOptions();
  PanelValues panel;
  ASSERT_TRUE(ApplyOptionsToPanel(home / "sz/mine.sz", home / "sz", kFontBox, options, panel));
  EXPECT_EQ(options.bSize, 1);
  EXPECT_TRUE(panel.resize);
  EXPECT_EQ(panel.size_text, "50.50");
  EXPECT_EQ(panel.zoom_unit, ZoomUnit::kPercent);
  EXPECT_EQ(options.dpi, -1);  // outside 1 to 65535
  EXPECT_EQ(panel.dpi_text, "");
}

TEST(ApplyOptionsToPanel, AFileThatCannotBeReadChangesNothing) {
  test::TempFolder home;
  ProcessingOptions options = InitialProcessingOptions();
  options.bSize = 1;
  options.sizeValue = 321;
  PanelValues panel = Loaded(options);
  ASSERT_FALSE(ApplyOptionsToPanel(home / "gone.sz", home.path(), kFontBox, options, panel));
  EXPECT_EQ(options.sizeValue, 321);
  EXPECT_EQ(options.bSize, 1);
  EXPECT_EQ(panel.size_text, "321");
  EXPECT_TRUE(panel.resize);
}

}  // namespace
}  // namespace brindle
