#include "png8/quantise.h"

namespace brindle {

QuantiseFailure QuantiseRgba(const unsigned char* rgba, int width, int height, int color_count,
                             IndexedPicture& out) {
  // Declared in this order so that they are destroyed as result, image, attributes.
  LiqAttrPtr attr(liq_attr_create());
  if (!attr) return QuantiseFailure::kQuantize;
  // A picture the library will not take (too large, empty) fails like a quantisation.
  LiqImagePtr image(liq_image_create_rgba(attr.get(), rgba, width, height, 0));
  if (!image) return QuantiseFailure::kQuantize;
  if (color_count >= 2 && color_count <= kMaxPaletteColors) {
    liq_set_max_colors(attr.get(), color_count);
  }
  liq_result* raw_result = nullptr;
  if (liq_image_quantize(image.get(), attr.get(), &raw_result) != LIQ_OK || !raw_result) {
    return QuantiseFailure::kQuantize;
  }
  LiqResultPtr result(raw_result);

  liq_set_dithering_level(result.get(), 1.0f);
  const std::size_t pixel_count =
      static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
  auto indices = std::make_unique_for_overwrite<unsigned char[]>(pixel_count);
  if (liq_write_remapped_image(result.get(), image.get(), indices.get(), pixel_count) != LIQ_OK) {
    return QuantiseFailure::kRemap;
  }

  // The palette is read after remapping: remapping may still refine it.
  const liq_palette* palette = liq_get_palette(result.get());
  out.palette.clear();
  for (unsigned int i = 0; palette && i < palette->count; ++i) {
    const liq_color& entry = palette->entries[i];
    out.palette.push_back({entry.r, entry.g, entry.b, entry.a});
  }
  out.indices = std::move(indices);
  return QuantiseFailure::kNone;
}

}  // namespace brindle
