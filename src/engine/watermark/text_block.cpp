#include "engine/watermark/text_block.h"

#include <cmath>

#include "engine/effects/overlay.h"

namespace brindle {
namespace {

// trunc plus one, plus one more when a fraction was cut off.
int CeilPlusOne(double value) {
  const double whole = std::trunc(value);
  int result = static_cast<int>(whole) + 1;
  if (value > whole) ++result;
  return result;
}

bool DrawBox(MagickWand* canvas, const ProcessingOptions& options) {
  const bool background = options.sy_text_background_color != -1;
  const int border = options.sy_text_border_size;
  if (!background && border <= 0) return true;

  const double width = static_cast<double>(MagickGetImageWidth(canvas));
  const double height = static_cast<double>(MagickGetImageHeight(canvas));
  DrawingWandPtr box = MakeDrawingWand();
  PixelWandPtr fill = MakePixelWand(
      background ? ColorToHtml(static_cast<std::uint32_t>(options.sy_text_background_color)).c_str()
                 : "none");
  DrawSetFillColor(box.get(), fill.get());
  PixelWandPtr stroke;
  if (border > 0) {
    DrawSetStrokeWidth(box.get(), border);
    stroke = MakePixelWand(ColorToHtml(options.sy_text_border_color).c_str());
    DrawSetStrokeColor(box.get(), stroke.get());
  }
  if (options.sy_text_opacity != 100) {
    const double opacity = options.sy_text_opacity / 100.0;
    if (background) DrawSetFillOpacity(box.get(), opacity);
    if (border > 0) DrawSetStrokeOpacity(box.get(), opacity);
  }

  const int radius = options.sy_text_border_corner_radius;
  if (radius != 0) {
    const double inset = border / 2;  // integer division: a 3-pixel border is inset by 1
    DrawSetStrokeWidth(box.get(), border);
    DrawRoundRectangle(box.get(), inset, inset, width - 1 - inset, height - 1 - inset, radius,
                       radius);
  } else {
    // Half of the stroke lies outside the canvas; the widened stroke keeps the border about as
    // wide as asked on the inside.
    if (border > 0) DrawSetStrokeWidth(box.get(), 2.0 * border - 1.5);
    DrawRectangle(box.get(), 0, 0, width - 1, height - 1);
  }
  return MagickDrawImage(canvas, box.get()) != MagickFalse;
}

TextBlock Refused(MagickWand* canvas, std::optional<std::string>* refusal) {
  std::string reason = TakeMagickError(canvas);
  if (refusal) *refusal = std::move(reason);
  return nullptr;
}

}  // namespace

std::optional<double> TextWidthFrom(double text_width, double origin_x) {
  if (text_width > 0 && origin_x > 0) {
    if (std::fabs(text_width - origin_x) < 100) return std::max(text_width, origin_x);
    return std::min(text_width, origin_x);
  }
  if (text_width > 0) return text_width;
  if (origin_x > 0) return origin_x;
  return std::nullopt;
}

std::optional<TextMetrics> MeasureText(MagickWand* picture, DrawingWand* settings,
                                       const std::string& text) {
  double* metrics = MagickQueryFontMetrics(picture, settings, text.c_str());
  TakeMagickError(picture);
  if (!metrics) return std::nullopt;
  const double text_width = metrics[4];
  const double ascender = metrics[2];
  const double descender = metrics[3];
  const double origin_x = metrics[11];
  MagickRelinquishMemory(metrics);
  std::optional<double> width = TextWidthFrom(text_width, origin_x);
  if (!width) return std::nullopt;
  return TextMetrics{*width, ascender - descender};
}

ContentSize BlockContentSize(const TextMetrics& metrics) {
  return {CeilPlusOne(metrics.width), CeilPlusOne(metrics.height)};
}

TextBlock RenderTextBlock(const ProcessingOptions& options, DrawingWand* text_settings,
                          const std::string& text, ContentSize content,
                          std::optional<std::string>* refusal) {
  const int border = std::max(options.sy_text_border_size, 0);
  const long long width = content.width + 2LL * options.sy_text_padding_left_right + 2LL * border;
  const long long height = content.height + 2LL * options.sy_text_padding_top_bottom + 2LL * border;
  if (width < 1 || height < 1) return nullptr;

  TextBlock canvas = MakeMagickWand();
  PixelWandPtr none = MakePixelWand("none");
  if (MagickNewImage(canvas.get(), static_cast<size_t>(width), static_cast<size_t>(height),
                     none.get()) == MagickFalse ||
      !DrawBox(canvas.get(), options)) {
    return Refused(canvas.get(), refusal);
  }

  DrawSetGravity(text_settings, CenterGravity);
  if (MagickAnnotateImage(canvas.get(), text_settings, 0, 0, 0, text.c_str()) == MagickFalse) {
    return Refused(canvas.get(), refusal);
  }
  TakeMagickError(canvas.get());  // a warning (say, a substituted face) is no refusal

  if (options.sy_text_rotate > 0) {
    if (MagickRotateImage(canvas.get(), none.get(), options.sy_text_rotate) == MagickFalse) {
      return Refused(canvas.get(), refusal);
    }
    // The rotated picture remembers an offset; the overlay places it by its own position.
    MagickResetImagePage(canvas.get(), "0x0+0+0");
  }
  return canvas;
}

DrawingWandPtr MakeTextSettings(const ProcessingOptions& options, const std::string& font_file) {
  DrawingWandPtr settings = MakeDrawingWand();
  DrawSetTextEncoding(settings.get(), "UTF-8");
  // A readable file is handed to FreeType as it is; ImageMagick's own font list is never asked.
  DrawSetFont(settings.get(), font_file.c_str());
  DecorationType decoration = NoDecoration;
  if (options.sy_text_isUnderlineDecoration) {
    decoration = UnderlineDecoration;
  } else if (options.sy_text_isLineThroughDecoration) {
    decoration = LineThroughDecoration;
  }
  DrawSetTextDecoration(settings.get(), decoration);
  PixelWandPtr fill = MakePixelWand(options.sy_text_htmlColor.c_str());
  DrawSetFillColor(settings.get(), fill.get());
  if (options.sy_text_opacity < 100) {
    DrawSetFillOpacity(settings.get(), options.sy_text_opacity / 100.0);
  }
  return settings;
}

}  // namespace brindle
