#include "calc/comma_hint.h"

#include "calc/inputs.h"

#include <charconv>
#include <cmath>

namespace zulcalc {

std::optional<std::string> decimalCommaHint(std::string_view text) {
    const auto comma = text.find(',');
    if (comma == std::string_view::npos ||
        text.find_first_not_of(" \t\n", comma + 1) == std::string_view::npos)
        return std::nullopt;
    const float read = parseNumber(text) + 0.0f; // no "-0" for «-0,5»
    char digits[32];
    std::string number(digits, std::to_chars(digits, digits + sizeof digits, read).ptr);
    if (std::isinf(read))
        number = read < 0 ? "-∞" : "∞";
    std::string hint = "Читается " + number + ": дробную часть вводите через точку";
    // The first comma made a point, the blanks dropped as the box drops them;
    // offered only where that reads otherwise («2.5,1» would not).
    std::string suggestion;
    bool pointed = false;
    for (char c : text) {
        if (c == ' ' || c == '\t' || c == '\n')
            continue;
        if (c == ',' && !pointed) {
            c = '.';
            pointed = true;
        }
        suggestion += c;
    }
    if (parseNumber(suggestion) != read)
        hint += ", " + suggestion;
    return hint;
}

} // namespace zulcalc
