#pragma once

#include <string>

namespace zulcalc {

// Rounds a double to single precision (to nearest, ties to even); a value
// past the single range becomes an infinity of its sign rather than relying
// on an out-of-range conversion.
float toSingle(double value);

// True when rounding the finite value to single precision would overflow.
bool overflowsSingle(double value);

// Rounds to one decimal place, ties away from zero, on the exact binary value:
// the same as formatting with one decimal and reading the text back in double.
// Exact for any value with at most 49 significant bits (every float, and a
// float halved, qualifies).
double roundToOneDecimal(double value);

// The text a result box shows: the stored value rounded to `places` decimals
// with ties to even (judged on the exact single-precision value), plain
// decimal with `separator`, no trailing zeros, never "-0". Values whose
// rounded magnitude reaches 10^15 are written as 1,234568E+20 instead.
std::string formatNumber(float value, int places, const std::string& separator);

} // namespace zulcalc
