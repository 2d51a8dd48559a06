#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zulcalc {

// The rule every numeric box reads by, in the user's words.
inline constexpr std::string_view kDecimalPointRule =
    "Дробную часть вводите через точку, например 2.5: после запятой ничего не читается";

// A box reads its number only up to the first character that cannot continue
// it, silently: «2,5» counts as 2 (in Russian practice the decimal separator
// is a comma), «1O» with a letter O for a zero as 1, «90дБ» as 90. While the
// text holds more than that, says what is read, and for a comma how to write
// the fraction; nothing while the text may still be a number being typed
// («1e», «-», «2,»).
std::optional<std::string> readingHint(std::string_view text);

} // namespace zulcalc
