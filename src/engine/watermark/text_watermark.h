#pragma once
// The text watermark: one line of text, on an optional box, rotated and partly transparent as
// asked, placed at the centre or a margin of every picture of a run or tiled over it. Its size is a
// fixed point size, rendered once per run, or a share of each picture's width or height, for which
// a font size is searched per picture.

#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "base/refusal.h"
#include "engine/watermark/text_block.h"
#include "engine/watermark/text_watermark_controls.h"
#include "fonts/font_catalogue.h"
#include "platform/magick/magick_wand.h"
#include "recipe/processing_options.h"

namespace brindle {

// The shared state of the proportional mode, valid from its preparation to the end of the run.
struct ScaledTextState {
  MagickWandPtr measuring_picture;  // 1 × 1, transparent
  DrawingWandPtr drawing_settings;  // face, style, decoration, colour, opacity; size per attempt
  std::string text;                 // UTF-8
  int screen_dpi = 0;
  ContentSize reference;  // the content size at 72 points (truncation plus one)
  double per_point = 0;   // the compared reference measure ÷ 72
};

// Guards every use of a ScaledTextState's drawing settings and measuring picture by the workers.
using TextWatermarkLock = std::mutex;

// What a run prepares for the text watermark; every picture of it reads this. Without a
// preparation nothing is drawn.
struct TextWatermark {
  TextBlock block;                           // fixed size: the finished block, only read by workers
  std::optional<std::string> block_refusal;  // fixed size: ImageMagick's reason for refusing it
  std::optional<ScaledTextState> scaled;     // proportional size
  TextWatermarkLock lock;
};

// Fixed size: renders the block of the options' text once. No block (nothing will be drawn) when
// the text is empty, the face name has no catalogue entry or the text cannot be measured. Writes
// the chosen face's weight to sy_text_weight.
void PrepareTextWatermark(TextWatermark& watermark, ProcessingOptions& options,
                          const FontCatalogue& catalogue, int screen_dpi);

// Proportional size: sets up the shared state and measures the text at 72 points. true when the
// state is ready or the text is empty (nothing will be drawn); false when the face name has no
// catalogue entry or the text cannot be measured. Writes the chosen face's weight to
// sy_text_weight.
bool PrepareScaledTextWatermark(TextWatermark& watermark, ProcessingOptions& options,
                                const FontCatalogue& catalogue, int screen_dpi);

// The block whose content is target pixels wide (nTextSizeScaleType 1) or high (0), or the closest
// the size search finds. None when the text is empty, target < 1 or measuring fails, and when
// ImageMagick refuses to render it (refusal, when given, is then set to its reason). The caller
// holds the watermark's lock.
TextBlock RenderScaledTextBlock(ScaledTextState& state, const ProcessingOptions& options,
                                int target, std::optional<std::string>* refusal = nullptr);

// Draws the watermark on a picture (a grey picture is made sRGB first): the prepared block in fixed
// mode, in proportional mode a block rendered for this picture's width or height (under the lock),
// placed and tiled as the options say. Safe to call from several workers at once. false when
// ImageMagick refused the block or refuses to lay it; error, when given, then holds its reason.
bool ApplyTextWatermark(TextWatermark& watermark, MagickWand* picture,
                        const ProcessingOptions& options, std::string* error = nullptr);

// The font check of a run: a non-empty text must be drawable with the face, with the Chinese
// check when it has Chinese characters. The refusal points at the font box.
std::optional<Refusal> CheckTextWatermarkFont(std::string_view text, std::string_view face_name,
                                              const FontCatalogue& catalogue);

// The refusal when the proportional preparation fails, naming the face as the font box shows it.
Refusal ScaledTextFontRefusal(std::string_view font_box_text);

// Accepting the text-watermark settings for a run: the font check, then the mode in use is
// prepared. A refusal when the face cannot show the text or the proportional preparation fails.
std::optional<Refusal> PrepareTextWatermarkForRun(TextWatermark& watermark,
                                                  ProcessingOptions& options,
                                                  const FontCatalogue& catalogue, int screen_dpi);

}  // namespace brindle
