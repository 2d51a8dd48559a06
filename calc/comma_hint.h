#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zulcalc {

// The rule every numeric box reads by, in the user's words.
inline constexpr std::string_view kDecimalPointRule =
    "Дробную часть вводите через точку, например 2.5: после запятой ничего не читается";

// In Russian practice the decimal separator is a comma, but a box reads only
// up to it, so «2,5» silently counts as 2. While a box's text has a comma
// followed by more than blanks, says what is read and how to write the
// fraction; otherwise nothing.
std::optional<std::string> decimalCommaHint(std::string_view text);

} // namespace zulcalc
