#pragma once
// The controls the text watermark's refusals point at: the font box and the watermark text.

#include <string_view>

namespace brindle {

inline constexpr std::string_view kTextFontControl = "sy_text_font_box";
inline constexpr std::string_view kTextControl = "sy_text_box";

}  // namespace brindle
