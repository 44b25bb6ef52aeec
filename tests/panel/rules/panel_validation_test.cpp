#include "panel/rules/panel_validation.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/watermark/text_font.h"
#include "engine/watermark/text_watermark.h"
#include "panel/values/panel_controls.h"
#include "panel/values/panel_load.h"
#include "recipe/options_file.h"
#include "support/test_support.h"

namespace brindle {
namespace {

namespace fs = std::filesystem;

using test::MachineCatalogue;

// The panel as the default recipe fills it.
PanelValues DefaultPanel() {
  ProcessingOptions options = InitialProcessingOptions();
  PanelValues panel;
  LoadPanelValues(options, {"宋体"}, panel);
  return panel;
}

struct Outcome {
  RunRecipe recipe{InitialProcessingOptions(), nullptr};
  std::optional<Refusal> refusal;
};

Outcome Validate(PanelValues& panel, const FontCatalogue& catalogue = FontCatalogue()) {
  test::EnsureMagick();
  Outcome outcome;
  outcome.refusal = ValidatePanel(panel, outcome.recipe, catalogue, kDefaultScreenDpi);
  return outcome;
}

// The refusal's control and the texts a user sees, in one line for comparison.
std::string Shown(const std::optional<Refusal>& refusal) {
  if (!refusal) return "accepted";
  std::string shown = refusal->control + " | " + refusal->hint_title + " | " + refusal->hint_text +
                      " | " + refusal->message;
  for (const PointerHint& pointer : refusal->pointers) {
    shown += " | -> " + pointer.control + ": " + pointer.text;
  }
  return shown;
}

TEST(ValidatePanel, SizeBox) {
  struct Case {
    ZoomUnit unit;
    int side;
    std::string text;
    std::string shown;
  };
  const std::string hint = "size_box | 提示 | ";
  const std::vector<Case> cases = {
      {ZoomUnit::kPercent, 0, "999.99", "accepted"},
      {ZoomUnit::kPercent, 0, "1000", hint + "图片宽的取值范围: 1.0 - 999.9 (百分比) | "},
      {ZoomUnit::kPercent, 1, "0.5", hint + "图片高的取值范围: 1.0 - 999.9 (百分比) | "},
      {ZoomUnit::kPercent, 2, "", hint + "不能为空 | "},
      {ZoomUnit::kPixel, 0, "0", hint + "图片宽不能为 0 | "},
      {ZoomUnit::kPixel, 1, "abc", hint + "图片高不能为 0 | "},
      {ZoomUnit::kPixel, 3, "0", hint + "值不能为 0 | "},
      {ZoomUnit::kPixel, 1, " \t", hint + "图片高不能为空 | "},
      {ZoomUnit::kPixel, 0, " 120 ", "accepted"},
      {ZoomUnit::kPixel, 1, "9999", "accepted"},
      {ZoomUnit::kPixel, 0, "10000", hint + "图片宽必须为整数,取值范围: 1 - 9999 (像素) | "},
      // More than the box's four digits, as a recipe may hold: the box's range text.
      {ZoomUnit::kPixel, 1, "12000", hint + "图片高必须为整数,取值范围: 1 - 9999 (像素) | "},
  };
  for (const Case& c : cases) {
    PanelValues panel = DefaultPanel();
    panel.resize = true;
    panel.zoom_unit = c.unit;
    panel.size_type = c.side;
    panel.size_text = c.text;
    Outcome outcome = Validate(panel);
    EXPECT_EQ(Shown(outcome.refusal), c.shown) << c.text;
    if (outcome.refusal) {
      EXPECT_EQ(outcome.refusal->scroll, PanelScroll::kTop);
    }
  }

  PanelValues panel = DefaultPanel();
  panel.resize = true;
  panel.zoom_unit = ZoomUnit::kPercent;
  panel.size_text = "999.99";
  EXPECT_FLOAT_EQ(Validate(panel).recipe.options.fSizeValue, 999.99f);

  // Resizing off: the box is not looked at, the keep-aspect box still copied.
  panel.resize = false;
  panel.size_text = "";
  panel.keep_aspect = false;
  Outcome off = Validate(panel);
  EXPECT_FALSE(off.refusal);
  EXPECT_EQ(off.recipe.options.bSize, 0);
  EXPECT_EQ(off.recipe.options.bZoomSameScale, 0);
}

TEST(ValidatePanel, EitherSideNeedsTheKeepAspectBox) {
  PanelValues panel = DefaultPanel();
  panel.resize = true;
  panel.size_type = 2;
  panel.size_text = "300";
  panel.keep_aspect = false;
  Outcome outcome = Validate(panel);
  EXPECT_EQ(Shown(outcome.refusal),
            "keep_aspect_check | 提示 | 选择【宽高设小项：】后，需要勾选【等比例缩放】 | ");
  EXPECT_FALSE(outcome.refusal->take_focus);
  // What was copied before the refusal stays.
  EXPECT_EQ(outcome.recipe.options.bSize, 1);
  EXPECT_EQ(outcome.recipe.options.sizeValue, 300);
  EXPECT_EQ(outcome.recipe.options.sizeType, SizeType::kShorterSide);
  EXPECT_EQ(outcome.recipe.options.bZoomSameScale, 1);
}

TEST(ValidatePanel, MaximumFileSize) {
  PanelValues panel = DefaultPanel();
  panel.quality = true;
  panel.quality_mode = QualityMode::kMaxFileSize;
  panel.max_file_size_text = "";
  Outcome outcome;
  outcome.recipe.options.maxFileSize = 80;
  outcome.refusal = ValidatePanel(panel, outcome.recipe, FontCatalogue(), kDefaultScreenDpi);
  EXPECT_EQ(Shown(outcome.refusal), "max_file_size_box | 请输入 | 此项不能为空 | ");
  EXPECT_EQ(outcome.recipe.options.maxFileSize, 0);

  panel.max_file_size_text = "0";
  EXPECT_EQ(Shown(Validate(panel).refusal), "max_file_size_box | 请重新输入 | 值不能为 0 | ");
  panel.max_file_size_text = "300";
  EXPECT_EQ(Validate(panel).recipe.options.maxFileSize, 300);

  panel.quality_mode = QualityMode::kFixedQuality;
  panel.quality_position = 42;
  Outcome fixed = Validate(panel);
  EXPECT_EQ(fixed.recipe.options.quanlity, 42);
  EXPECT_EQ(fixed.recipe.options.qualityMode, QualityMode::kFixedQuality);
}

TEST(ValidatePanel, TextWatermarkFontChecks) {
  PanelValues panel = DefaultPanel();
  panel.text_watermark = true;
  panel.text = "水印";
  panel.font_name = "DejaVu Sans";
  Outcome outcome = Validate(panel, MachineCatalogue());
  EXPECT_EQ(Shown(outcome.refusal),
            "sy_text_font_box | 看这里 | 请选择一个中文字体 | 当前选择的字体: 'DejaVu Sans' "
            "不支持显示中文。\n\n请选择一个中文字体，例如：宋体, 楷体, 黑体。 | -> sy_text_box: "
            "含有中文，请选择一个中文字体");
  EXPECT_EQ(outcome.refusal->icon, MessageIcon::kWarning);
  EXPECT_EQ(outcome.recipe.options.sy_text, "");  // the text is copied after the check

  panel.text = "abc";
  panel.font_name = "Arial";
  EXPECT_EQ(Shown(Validate(panel, MachineCatalogue()).refusal),
            "sy_text_font_box | 看这里 | 请重新选择一个字体 | 当前选择的字体: 'Arial' "
            "不受支持，请重新选择一个字体。 | -> sy_text_font_box: 重新选择一个字体");

  // An empty text is not checked: nothing will be drawn.
  panel.text = "  ";
  outcome = Validate(panel, MachineCatalogue());
  EXPECT_FALSE(outcome.refusal);
  EXPECT_EQ(outcome.recipe.options.bSYText, 1);
  EXPECT_FALSE(outcome.recipe.text_watermark->block);

  panel.text = "Brindle";
  panel.font_name = "DejaVu Sans";
  outcome = Validate(panel, MachineCatalogue());
  EXPECT_FALSE(outcome.refusal);
  EXPECT_TRUE(outcome.recipe.text_watermark->block);
}

TEST(ValidatePanel, TextWatermarkBoxes) {
  struct Case {
    std::string font_size, horizontal_margin, vertical_margin, rotation;
    int horizontal, vertical;
    std::string shown;
    int font_size_value, w_value, h_value;
  };
  const std::vector<Case> cases = {
      {"-5", "", "8", "", 0, 2, "accepted", 26, 16, 8},
      {"0", "abc", "8", "0", 0, 1, "accepted", 26, 16, 8},
      {"", " 30 ", "8", "90", 0, 1, "accepted", 26, 30, 8},
      {"14", "5", "8", "", kNoChoice, 0, "accepted", 14, 5, 8},
      {"14", "", "8", "", 1, 0, "sy_text_w_box |  |  | 文字水印的左边距不能为空", 14, 0, 0},
      {"14", "5", "", "", 2, 2, "sy_text_h_box |  |  | 文字水印的下边距不能为空", 14, 5, 0},
      {"14", "5", "6", "-5", 2, 2,
       "sy_text_rotate_box |  |  | 文字水印旋转角度不能为负数 | -> sy_text_rotate_box: "
       "旋转角度不能为负数",
       14, 5, 6},
  };
  for (const Case& c : cases) {
    PanelValues panel = DefaultPanel();
    panel.text_watermark = true;
    panel.font_size_text = c.font_size;
    panel.text_placement = {c.horizontal, c.horizontal_margin, c.vertical, c.vertical_margin};
    panel.text_rotation_text = c.rotation;
    Outcome outcome = Validate(panel);
    const ProcessingOptions& options = outcome.recipe.options;
    EXPECT_EQ(Shown(outcome.refusal), c.shown) << c.font_size;
    EXPECT_EQ(panel.font_size_text, std::to_string(c.font_size_value));
    EXPECT_EQ(options.sy_text_fontSize, c.font_size_value);
    EXPECT_EQ(options.sy_text_w_direction, c.horizontal);
    if (c.w_value) {
      EXPECT_EQ(options.sy_text_w_value, c.w_value);
    }
    if (c.h_value) {
      EXPECT_EQ(options.sy_text_h_value, c.h_value);
    }
  }
}

TEST(ValidatePanel, ProportionalTextSize) {
  PanelValues panel = DefaultPanel();
  panel.text_watermark = true;
  panel.text_size_scale = true;
  panel.text_size_scale_text = "";
  EXPECT_EQ(Shown(Validate(panel).refusal),
            "text_size_scale_box |  |  | 文字大小按比例缩放的值不能为空 | -> text_size_scale_box: "
            "此项不能为空");
  panel.text_size_scale_text = "0";
  EXPECT_EQ(Shown(Validate(panel).refusal),
            "text_size_scale_box |  |  | 文字大小按比例缩放的值不能为 0 | -> text_size_scale_box: "
            "此项不能为 0");

  // The bold face of the name cannot be measured, though the check passes with its first face;
  // the message names the face as the font box shows it.
  const FontCatalogue catalogue = test::CatalogueWithAMissingBoldFace();
  panel.text = "abc";
  panel.font_name = "Odd";
  panel.bold = true;
  panel.font_box_text = "Odd Box";
  panel.text_size_scale_text = "12";
  panel.text_size_scale_type = 1;
  Outcome outcome = Validate(panel, catalogue);
  EXPECT_EQ(Shown(outcome.refusal),
            "sy_text_font_box | 看这里 | 请更换一个字体 | 当前选择的字体 'Odd Box' "
            "无法正常的显示文字水印，请更换一个字体。 | -> sy_text_font_box: 请更换一个字体");
  EXPECT_EQ(outcome.refusal->icon, MessageIcon::kError);
  EXPECT_EQ(outcome.recipe.options.nTextSizeScaleValue, 12);
  EXPECT_EQ(outcome.recipe.options.nTextSizeScaleType, 1);

  panel.font_name = "DejaVu Sans";
  outcome = Validate(panel, MachineCatalogue());
  EXPECT_FALSE(outcome.refusal);
  EXPECT_TRUE(outcome.recipe.text_watermark->scaled);
}

TEST(ValidatePanel, PictureWatermark) {
  test::EnsureMagick();
  test::TempFolder folder;
  test::WritePicture(folder / "logo.png", 30, 20, "PNG");
  test::WriteAnimatedGif(folder / "moving.gif", 12, 8);
  const std::string pointer = " | -> sy_image_box: ";
  struct Case {
    std::string path;
    std::string shown;
  };
  const std::vector<Case> cases = {
      {(folder / "gone.png").string(), "sy_image_choose_button |  |  | 水印图片不存在，请重新选择" +
                                           pointer + "水印图片不存在，请重新选择"},
      {folder.path().string(), "sy_image_choose_button |  |  | 水印图片不存在，请重新选择" +
                                   pointer + "水印图片不存在，请重新选择"},
      {(folder / "moving.gif").string(),
       "sy_image_choose_button |  |  | 水印图片格式不对，请重新选择" + pointer +
           "水印图片格式不对，请重新选择"},
      {"", "accepted"},
  };
  for (const Case& c : cases) {
    PanelValues panel = DefaultPanel();
    panel.image_watermark = true;
    panel.image_path = c.path;
    Outcome outcome = Validate(panel);
    EXPECT_EQ(Shown(outcome.refusal), c.shown) << c.path;
    EXPECT_FALSE(outcome.recipe.watermark_picture);
  }

  PanelValues panel = DefaultPanel();
  panel.image_watermark = true;
  panel.image_path = " " + (folder / "logo.png").string() + " ";
  panel.image_placement = {0, "", 1, ""};
  EXPECT_EQ(Shown(Validate(panel).refusal), "sy_image_h_box |  |  | 图片水印的上边距不能为空");
  panel.image_placement = {1, "4", 0, ""};
  panel.image_rotation_text = "-90";
  EXPECT_EQ(Shown(Validate(panel).refusal),
            "sy_image_rotate_box |  |  | 图片水印旋转角度不能为负数 | -> sy_image_rotate_box: "
            "旋转角度不能为负数");
  panel.image_rotation_text = "90";
  Outcome outcome = Validate(panel);
  ASSERT_FALSE(outcome.refusal);
  EXPECT_EQ(outcome.recipe.options.sy_image, (folder / "logo.png").string());
  ASSERT_TRUE(outcome.recipe.watermark_picture);
  EXPECT_EQ(MagickGetImageWidth(outcome.recipe.watermark_picture.get()), 20u);  // turned
}

TEST(ValidatePanel, Resolution) {
  for (const std::string text : {"0", "65536", "12a", "1234567890123456789"}) {
    PanelValues panel = DefaultPanel();
    panel.dpi = true;
    panel.dpi_text = text;
    Outcome outcome = Validate(panel);
    EXPECT_EQ(Shown(outcome.refusal),
              "dpi_box |  |  | 图片分辨率(DPI)的值范围: 1 - 65535, 请重新输入 | -> dpi_box: "
              "图片分辨率(DPI)的值范围: 1 - 65535, 请重新输入")
        << text;
    ASSERT_TRUE(outcome.refusal);
    EXPECT_EQ(outcome.refusal->scroll, PanelScroll::kBottom);
    EXPECT_EQ(outcome.refusal->icon, MessageIcon::kError);
  }
  PanelValues panel = DefaultPanel();
  panel.dpi = true;
  panel.resample = true;
  panel.dpi_text = " 65535 ";
  Outcome outcome = Validate(panel);
  EXPECT_FALSE(outcome.refusal);
  EXPECT_EQ(outcome.recipe.options.dpi, 65535);
  EXPECT_EQ(outcome.recipe.options.bDpiResample, 1);

  panel.dpi_text = "";
  outcome = Validate(panel);
  EXPECT_FALSE(outcome.refusal);
  EXPECT_EQ(outcome.recipe.options.bDpi, 1);
  EXPECT_EQ(outcome.recipe.options.dpi, -1);
  EXPECT_EQ(outcome.recipe.options.bDpiResample, 0);
}

}  // namespace
}  // namespace brindle
