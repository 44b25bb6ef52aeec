#pragma once
// Trimming typed text: the blanks a text box may carry around a value.

#include <string_view>

namespace brindle {

// The text without leading and trailing tab, line feed, carriage return and space characters.
inline std::string_view TrimBlanks(std::string_view text) {
  constexpr std::string_view kBlanks = "\t\n\r ";
  const std::size_t first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

}  // namespace brindle
