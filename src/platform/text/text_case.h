#pragma once
// Comparing names and typed texts with the ASCII letters' case ignored, whatever the locale: other
// bytes (a Chinese character's UTF-8) must match exactly.

#include <algorithm>
#include <string_view>

namespace brindle {

inline char AsciiLower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

inline bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return AsciiLower(x) == AsciiLower(y);
         });
}

inline bool EndsWithIgnoringCase(std::string_view text, std::string_view suffix) {
  return text.size() >= suffix.size() &&
         EqualsIgnoringCase(text.substr(text.size() - suffix.size()), suffix);
}

}  // namespace brindle
