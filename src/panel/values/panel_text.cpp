#include "panel/values/panel_text.h"

#include <charconv>
#include <climits>

#include "platform/text/text_encoding.h"
#include "platform/text/text_trim.h"

namespace brindle {
namespace {

bool IsCSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

std::string_view SkipSpace(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && IsCSpace(text[i])) ++i;
  return text.substr(i);
}

}  // namespace

std::string BoxText(std::string_view text, std::size_t limit) { return CutToGbkBytes(text, limit); }

std::string TrimmedBoxText(std::string_view text, std::size_t limit) {
  return std::string(TrimBlanks(BoxText(text, limit)));
}

int IntegerValue(std::string_view text) {
  text = SkipSpace(text);
  bool negative = false;
  if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
    negative = text[0] == '-';
    text.remove_prefix(1);
  }
  long long value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') break;
    value = value * 10 + (c - '0');
    if (value > static_cast<long long>(INT_MAX) + 1) break;  // held at the range below
  }
  if (negative) value = -value;
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

double DecimalValue(std::string_view text) {
  text = SkipSpace(text);
  bool negative = false;
  if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
    negative = text[0] == '-';
    text.remove_prefix(1);
  }
  double value = 0;
  std::from_chars_result result = std::from_chars(text.data(), text.data() + text.size(), value);
  if (result.ec == std::errc::invalid_argument) return 0;
  return negative ? -value : value;
}

bool IsDigitRun(std::string_view text) {
  if (text.empty()) return false;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

}  // namespace brindle
