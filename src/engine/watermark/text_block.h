#pragma once
// The block the text watermark overlays: a transparent canvas with the optional box (background,
// border, rounded corners, padding) and the text centred on it, rotated as asked. Also how a text
// is measured for it.

#include <optional>
#include <string>

#include "platform/magick/magick_wand.h"
#include "recipe/processing_options.h"

namespace brindle {

// A wand holding the rendered block as its current picture.
using TextBlock = MagickWandPtr;

// The text's size as the metrics give it: W from the text width and the origin, H = ascender -
// descender.
struct TextMetrics {
  double width = 0;
  double height = 0;
};

// The size of the text's area on the block, without padding and border.
struct ContentSize {
  int width = 0;
  int height = 0;
  bool operator==(const ContentSize&) const = default;
};

// Measures text with the drawing settings on a picture (any picture; a 1 × 1 transparent one
// serves). nullopt when the face cannot be used or the text has no width.
std::optional<TextMetrics> MeasureText(MagickWand* picture, DrawingWand* settings,
                                       const std::string& text);

// W from the reported text width and origin x: both positive: the larger when they differ by less
// than 100, else the smaller; else the positive one; nullopt when neither is.
std::optional<double> TextWidthFrom(double text_width, double origin_x);

// The content size of a block: ceil(W) + 1 by ceil(H) + 1.
ContentSize BlockContentSize(const TextMetrics& metrics);

// Renders the block: canvas of the content size plus padding and border on each side, the box
// from the options, the text with the settings (gravity is set to the centre) and the rotation.
// Null when the block would have no area, or when ImageMagick refuses a step: refusal, when given,
// is then set to its reason (empty when ImageMagick gives none).
TextBlock RenderTextBlock(const ProcessingOptions& options, DrawingWand* text_settings,
                          const std::string& text, ContentSize content,
                          std::optional<std::string>* refusal = nullptr);

// The text drawing settings shared by both modes: UTF-8 text, the font file (see FaceFontFile),
// decoration (underline wins over line-through), fill colour and, below 100, fill opacity. The
// size is set by the caller.
DrawingWandPtr MakeTextSettings(const ProcessingOptions& options, const std::string& font_file);

}  // namespace brindle
