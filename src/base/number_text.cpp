#include "base/number_text.h"

#include <charconv>
#include <system_error>

namespace brindle {

std::string FixedText(double value, int decimals) {
  char buffer[400];  // room for the largest double in fixed notation
  auto [end, error] =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
  if (error != std::errc()) return "0";
  return std::string(buffer, end);
}

}  // namespace brindle
