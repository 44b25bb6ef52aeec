#include "engine/watermark/text_watermark.h"

#include <cmath>

#include "base/info_log.h"
#include "engine/effects/overlay.h"
#include "engine/watermark/text_font.h"
#include "engine/watermark/text_size_search.h"
#include "platform/text/text_encoding.h"

namespace brindle {
namespace {

constexpr int kReferencePoints = 72;
// The drawn text is held in a buffer of this size, terminator included.
constexpr std::size_t kTextBufferBytes = 1024;

std::string DrawnText(const ProcessingOptions& options) {
  return std::string(CutUtf8(options.sy_text, kTextBufferBytes - 1));
}

bool ByWidth(const ProcessingOptions& options) { return options.nTextSizeScaleType == 1; }

MagickWandPtr MakeMeasuringPicture() {
  MagickWandPtr picture = MakeMagickWand();
  PixelWandPtr none = MakePixelWand("none");
  if (MagickNewImage(picture.get(), 1, 1, none.get()) == MagickFalse) return nullptr;
  return picture;
}

// Every font refusal points at the font box, with a pointer at the control that led to it.
Refusal FontRefusal(std::string message, MessageIcon icon, const char* hint_text,
                    std::string_view pointer_control, const char* pointer_text) {
  Refusal refusal;
  refusal.control = kTextFontControl;
  refusal.hint_title = "看这里";
  refusal.hint_text = hint_text;
  refusal.message = std::move(message);
  refusal.caption = "提示";
  refusal.icon = icon;
  refusal.scroll = PanelScroll::kTop;
  refusal.pointers.push_back({std::string(pointer_control), pointer_text});
  return refusal;
}

}  // namespace

void PrepareTextWatermark(TextWatermark& watermark, ProcessingOptions& options,
                          const FontCatalogue& catalogue, int screen_dpi) {
  watermark.block.reset();
  watermark.block_refusal.reset();
  const std::string text = DrawnText(options);
  if (text.empty()) return;
  const FontFace* face = SelectFontFace(catalogue, options.sy_text_fontName,
                                        options.sy_text_isBold != 0, options.sy_text_isItalic != 0);
  if (!face) return;
  options.sy_text_weight = face->weight;
  const std::optional<std::string> font_file = FaceFontFile(*face);
  if (!font_file) return;

  DrawingWandPtr settings = MakeTextSettings(options, *font_file);
  DrawSetFontSize(settings.get(), FontPixelSize(screen_dpi, options.sy_text_fontSize));
  MagickWandPtr measuring = MakeMeasuringPicture();
  if (!measuring) return;
  std::optional<TextMetrics> metrics = MeasureText(measuring.get(), settings.get(), text);
  if (!metrics) return;
  // A refusal here fails every picture of the run, each with ImageMagick's reason.
  watermark.block = RenderTextBlock(options, settings.get(), text, BlockContentSize(*metrics),
                                    &watermark.block_refusal);
}

bool PrepareScaledTextWatermark(TextWatermark& watermark, ProcessingOptions& options,
                                const FontCatalogue& catalogue, int screen_dpi) {
  watermark.scaled.reset();
  const std::string text = DrawnText(options);
  if (text.empty()) return true;
  const FontFace* face = SelectFontFace(catalogue, options.sy_text_fontName,
                                        options.sy_text_isBold != 0, options.sy_text_isItalic != 0);
  if (!face) return false;
  options.sy_text_weight = face->weight;
  const std::optional<std::string> font_file = FaceFontFile(*face);
  if (!font_file) return false;

  ScaledTextState state;
  state.measuring_picture = MakeMeasuringPicture();
  if (!state.measuring_picture) return false;
  state.drawing_settings = MakeTextSettings(options, *font_file);
  DrawSetGravity(state.drawing_settings.get(), CenterGravity);
  if (options.sy_text_isItalic) DrawSetFontStyle(state.drawing_settings.get(), ItalicStyle);
  state.text = text;
  state.screen_dpi = screen_dpi;

  DrawSetFontSize(state.drawing_settings.get(), FontPixelSize(screen_dpi, kReferencePoints));
  std::optional<TextMetrics> metrics =
      MeasureText(state.measuring_picture.get(), state.drawing_settings.get(), state.text);
  if (!metrics) return false;
  // Truncation plus one here, unlike the blocks' ceiling.
  state.reference = {static_cast<int>(std::trunc(metrics->width)) + 1,
                     static_cast<int>(std::trunc(metrics->height)) + 1};
  state.per_point = (ByWidth(options) ? state.reference.width : state.reference.height) /
                    static_cast<double>(kReferencePoints);
  watermark.scaled = std::move(state);
  return true;
}

TextBlock RenderScaledTextBlock(ScaledTextState& state, const ProcessingOptions& options,
                                int target, std::optional<std::string>* refusal) {
  if (state.text.empty() || !state.measuring_picture || !state.drawing_settings || target < 1) {
    return nullptr;
  }
  DrawingWand* settings = state.drawing_settings.get();
  auto set_size = [&](int points) {
    DrawSetFontSize(settings, FontPixelSize(state.screen_dpi, points));
  };
  const ContentMeasure measure = [&](int points) -> std::optional<ContentSize> {
    set_size(points);
    std::optional<TextMetrics> metrics =
        MeasureText(state.measuring_picture.get(), settings, state.text);
    if (!metrics) return std::nullopt;
    return BlockContentSize(*metrics);
  };
  std::optional<SizeAttempt> size =
      SearchTextSize(target, ByWidth(options), state.reference, state.per_point, measure);
  if (!size) return nullptr;
  set_size(size->points);
  return RenderTextBlock(options, settings, state.text, size->content, refusal);
}

bool ApplyTextWatermark(TextWatermark& watermark, MagickWand* picture,
                        const ProcessingOptions& options, std::string* error) {
  TextBlock scaled_block;
  std::optional<std::string> refusal;
  if (options.bTextSizeScale) {
    const double ratio = options.nTextSizeScaleValue / 100.0;
    const double side = static_cast<double>(ByWidth(options) ? MagickGetImageWidth(picture)
                                                             : MagickGetImageHeight(picture));
    const int target = static_cast<int>(std::trunc(side * ratio));
    std::lock_guard<TextWatermarkLock> guard(watermark.lock);
    if (watermark.scaled) {
      scaled_block = RenderScaledTextBlock(*watermark.scaled, options, target, &refusal);
    }
  } else {
    refusal = watermark.block_refusal;
  }
  MagickWand* block = options.bTextSizeScale ? scaled_block.get() : watermark.block.get();
  // A block ImageMagick refused to make brings the reason from its own wand.
  if (refusal) {
    if (error) *error = std::move(*refusal);
    return false;
  }
  if (ConvertGreyToSrgb(picture) &&
      PlaceOverlay(picture, block, PlacementFromIndex(options.sy_text_w_direction),
                   options.sy_text_w_value, PlacementFromIndex(options.sy_text_h_direction),
                   options.sy_text_h_value, options.bTiled != 0, options.nTiledSpacing)) {
    return true;
  }
  std::string reason = TakeMagickError(picture);
  if (error) *error = std::move(reason);
  return false;
}

std::optional<Refusal> CheckTextWatermarkFont(std::string_view text, std::string_view face_name,
                                              const FontCatalogue& catalogue) {
  if (text.empty()) return std::nullopt;
  const std::string name(face_name);
  if (NeedsChineseFace(text)) {
    if (FontSupportsText(catalogue, face_name, true)) return std::nullopt;
    return FontRefusal(FormatMessage("当前选择的字体: '%s' 不支持显示中文。\n\n"
                                     "请选择一个中文字体，例如：宋体, 楷体, 黑体。",
                                     name.c_str()),
                       MessageIcon::kWarning, "请选择一个中文字体", kTextControl,
                       "含有中文，请选择一个中文字体");
  }
  if (FontSupportsText(catalogue, face_name, false)) return std::nullopt;
  return FontRefusal(
      FormatMessage("当前选择的字体: '%s' 不受支持，请重新选择一个字体。", name.c_str()),
      MessageIcon::kWarning, "请重新选择一个字体", kTextFontControl, "重新选择一个字体");
}

Refusal ScaledTextFontRefusal(std::string_view font_box_text) {
  const std::string name(font_box_text);
  return FontRefusal(
      FormatMessage("当前选择的字体 '%s' 无法正常的显示文字水印，请更换一个字体。", name.c_str()),
      MessageIcon::kError, "请更换一个字体", kTextFontControl, "请更换一个字体");
}

std::optional<Refusal> PrepareTextWatermarkForRun(TextWatermark& watermark,
                                                  ProcessingOptions& options,
                                                  const FontCatalogue& catalogue, int screen_dpi) {
  if (std::optional<Refusal> refusal =
          CheckTextWatermarkFont(options.sy_text, options.sy_text_fontName, catalogue)) {
    return refusal;
  }
  if (options.bTextSizeScale) {
    if (!PrepareScaledTextWatermark(watermark, options, catalogue, screen_dpi)) {
      return ScaledTextFontRefusal(options.sy_text_fontName);
    }
  } else {
    PrepareTextWatermark(watermark, options, catalogue, screen_dpi);
  }
  return std::nullopt;
}

}  // namespace brindle
