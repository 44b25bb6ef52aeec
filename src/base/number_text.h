#pragma once
// Numbers as text with "." as the decimal point whatever the user's locale: stored files (recipes,
// config.dat) and the panel's boxes must read the same on every machine, and a Qt application
// switches LC_NUMERIC to the user's locale.

#include <string>

namespace brindle {

// The value with exactly `decimals` digits after the point, as "%.<decimals>f" prints it in the C
// locale ("50.500000" for 50.5 and 6).
std::string FixedText(double value, int decimals);

}  // namespace brindle
