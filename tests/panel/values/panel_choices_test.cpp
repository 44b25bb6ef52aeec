#include "panel/values/panel_choices.h"

#include <gtest/gtest.h>

#include <string>

#include "panel/rules/panel_states.h"
#include "panel/values/panel_labels.h"

namespace brindle {
namespace {

TEST(PanelChoices, SideAndUnitChangeTheResizeControls) {
  PanelValues panel;
  panel.resize = true;
  panel.keep_aspect = false;
  std::optional<Refusal> tip = ChooseSizeType(panel, 3);
  ASSERT_TRUE(tip);
  EXPECT_EQ(tip->control, "size_type_list");
  EXPECT_EQ(tip->hint_title, "提示");
  EXPECT_EQ(tip->hint_text, "宽 > 高时，设置宽度，反之设置高度。");
  EXPECT_TRUE(panel.keep_aspect);
  EXPECT_FALSE(EnabledStates(panel).keep_aspect);
  EXPECT_EQ(KeepAspectText(panel), "等比例缩小");
  EXPECT_EQ(ChooseSizeType(panel, 2)->hint_text, "宽 > 高时，设置高度，反之设置宽度。");
  EXPECT_FALSE(ChooseSizeType(panel, 1));
  EXPECT_TRUE(EnabledStates(panel).keep_aspect);
  EXPECT_EQ(KeepAspectText(panel), "宽度等比例缩小");

  panel.zoom_type = 1;
  SetZoomUnit(panel, ZoomUnit::kPercent);
  EXPECT_EQ(panel.zoom_type, 2);
  EXPECT_FALSE(EnabledStates(panel).zoom_type);
  EXPECT_EQ(KeepAspectText(panel), "宽度等比例缩放");
  EXPECT_EQ(UnitLabel(panel.zoom_unit), "百分比");
  SetZoomUnit(panel, ZoomUnit::kPercent);  // picked again: nothing changes
  SetZoomUnit(panel, ZoomUnit::kPixel);
  EXPECT_EQ(panel.zoom_type, 1);
  EXPECT_TRUE(EnabledStates(panel).zoom_type);

  panel.resize = false;
  PanelEnabledStates off = EnabledStates(panel);
  EXPECT_FALSE(off.zoom_type || off.size_type || off.size_box || off.keep_aspect);
}

TEST(PanelChoices, StyleAndColourAndSaveControls) {
  PanelValues panel;
  SetUnderline(panel, true);
  SetLineThrough(panel, true);
  EXPECT_FALSE(panel.underline);
  EXPECT_TRUE(panel.line_through);
  SetUnderline(panel, true);
  EXPECT_FALSE(panel.line_through);
  SetUnderline(panel, false);
  EXPECT_FALSE(panel.underline || panel.line_through);

  SetTextColour(panel, 0x0080FF);
  EXPECT_EQ(panel.text_html_colour, "#ff8000");

  FontCatalogue catalogue;
  FontFace regular, bold, italic;
  bold.weight = 700;
  italic.italic = true;
  catalogue.AddFace("Both", regular);
  catalogue.AddFace("Both", bold);
  catalogue.AddFace("Slanted", regular);
  catalogue.AddFace("Slanted", italic);
  EXPECT_EQ(ShownStyleButtons(catalogue, "Both"), (StyleButtons{true, false}));
  EXPECT_EQ(ShownStyleButtons(catalogue, "Slanted"), (StyleButtons{false, true}));
  EXPECT_EQ(ShownStyleButtons(catalogue, "Missing"), (StyleButtons{false, false}));

  ChooseSaveFolder(panel, "/photos/out");
  EXPECT_EQ(panel.save_mode, PlacementMode::kSaveToFolder);
  EXPECT_TRUE(EnabledStates(panel).save_folder);
  SelectSaveMode(panel, PlacementMode::kOverwrite);
  EXPECT_EQ(panel.save_folder_text, "");
  EXPECT_FALSE(EnabledStates(panel).save_folder);
  SelectSaveMode(panel, PlacementMode::kSaveToFolder);
  EXPECT_EQ(panel.save_folder_text, "/photos/out");
}

TEST(PanelChoices, ADeletedMappingLeavesTheFontBox) {
  FontCatalogue catalogue;
  catalogue.AddFace("myfont", FontFace{});  // installed, differs from the mapping only in case
  catalogue.AddFace("Arial", FontFace{});
  std::vector<std::string> box = {"黑体", "MyFont", "Arial", "myfont", "MYFONT"};
  PanelValues panel;
  ChooseFont(panel, "Arial");
  EXPECT_FALSE(RemoveFromFontBox(panel, box, catalogue, "MyFont"));
  EXPECT_EQ(box, (std::vector<std::string>{"黑体", "Arial", "myfont"}));
  EXPECT_EQ(panel.font_name, "Arial");

  // The current face goes: the first entry left is chosen.
  box = {"宋体", "黑体", "Arial"};
  ChooseFont(panel, "黑体");
  EXPECT_TRUE(RemoveFromFontBox(panel, box, catalogue, "黑体"));
  EXPECT_EQ(box, (std::vector<std::string>{"宋体", "Arial"}));
  EXPECT_EQ(panel.font_name, "宋体");
  EXPECT_EQ(panel.font_box_text, "宋体");
  // The box shows its entry for a text in another case; that entry going counts as the current.
  panel.font_name = "Arial";
  panel.font_box_text = "ARIAL";
  catalogue.Remove("Arial");
  EXPECT_TRUE(RemoveFromFontBox(panel, box, catalogue, "arial"));
  EXPECT_EQ(box, std::vector<std::string>{"宋体"});
  EXPECT_EQ(panel.font_name, "宋体");
  EXPECT_EQ(panel.font_box_text, "宋体");
}

TEST(PanelLabels, ValueLabels) {
  EXPECT_EQ(ToneLabel(25), "+25");
  EXPECT_EQ(ToneLabel(0), "0");
  EXPECT_EQ(ToneLabel(-100), "-100");
  EXPECT_EQ(ValueLabel(16), "(16)");
}

TEST(PanelStates, GroupsCollapseAndInnerSwitches) {
  PanelValues panel;
  EXPECT_EQ(GroupLayout(panel), (GroupHeights{50, 50, 51}));
  EXPECT_EQ(EnabledStates(panel), PanelEnabledStates{});

  panel.text_watermark = true;
  panel.text_size_scale = true;
  panel.text_tiled = true;
  panel.text_placement.horizontal = 0;
  panel.image_watermark = true;
  panel.border = true;
  panel.contrast.on = true;
  panel.colour_space = true;
  panel.to_colour_space = 1;
  panel.dpi = true;
  panel.quality = true;
  panel.quality_mode = QualityMode::kMaxFileSize;
  EXPECT_EQ(GroupLayout(panel), (GroupHeights{317, 157, 138}));
  PanelEnabledStates states = EnabledStates(panel);
  EXPECT_TRUE(states.text_controls);
  EXPECT_FALSE(states.font_size_list);
  EXPECT_TRUE(states.text_size_scale_controls);
  EXPECT_TRUE(states.text_tiled_spacing);
  EXPECT_FALSE(states.text_horizontal_margin);
  EXPECT_TRUE(states.text_vertical_margin);
  EXPECT_TRUE(states.image_horizontal_margin);
  EXPECT_FALSE(states.image_tiled_spacing);
  EXPECT_TRUE(states.border_controls);
  EXPECT_TRUE(states.contrast);
  EXPECT_FALSE(states.light);
  EXPECT_TRUE(states.srgb_icc);
  EXPECT_TRUE(states.dpi_box);
  EXPECT_TRUE(states.quality_controls);
  EXPECT_TRUE(states.file_size_shown);
}

}  // namespace
}  // namespace brindle
