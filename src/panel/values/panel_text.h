#pragma once
// Reading the texts of the settings panel's boxes the way the panel's checks read them.

#include <cstddef>
#include <string>
#include <string_view>

namespace brindle {

// The text as a box of limit bytes (GBK) hands it out: cut at a character boundary.
std::string BoxText(std::string_view text, std::size_t limit);

// BoxText, then trailing and leading tabs, line feeds, carriage returns and spaces removed.
std::string TrimmedBoxText(std::string_view text, std::size_t limit);

// The integer at the start of the text, as C's atoi reads it: leading white space, a sign, then
// digits up to the first other character; 0 when there are none. Held within int's range.
int IntegerValue(std::string_view text);

// The decimal number at the start of the text, as C's atof reads it (always with "." as the point).
double DecimalValue(std::string_view text);

// A non-empty text of nothing but the digits 0 to 9.
bool IsDigitRun(std::string_view text);

}  // namespace brindle
