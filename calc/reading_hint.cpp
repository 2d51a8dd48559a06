#include "calc/reading_hint.h"

#include "calc/inputs.h"

#include <charconv>
#include <cmath>

namespace zulcalc {

namespace {

std::string shown(float read) {
    if (std::isinf(read))
        return read < 0 ? "-∞" : "∞";
    char digits[32];
    return {digits, std::to_chars(digits, digits + sizeof digits, read).ptr};
}

// The first dozen characters of what is not read, cut between UTF-8
// characters, so that a pasted paragraph makes no hint as wide as the screen.
std::string quoted(std::string_view unread) {
    std::size_t cut = 0;
    for (int characters = 0; cut < unread.size(); ++cut)
        if ((unread[cut] & 0xC0) != 0x80 && characters++ == 12)
            break;
    if (cut == unread.size())
        return "«" + std::string(unread) + "»";
    const std::string_view part = unread.substr(0, cut);
    return "«" + std::string(part.substr(0, part.find_last_not_of(" \t\n") + 1)) + "…»";
}

std::string commaHint(std::string_view text, const std::string& read) {
    std::string hint = "Читается " + read + ": дробную часть вводите через точку";
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
    if (shown(parseNumber(suggestion) + 0.0f) != read)
        hint += ", " + suggestion;
    return hint;
}

} // namespace

std::optional<std::string> readingHint(std::string_view text) {
    const std::string read = shown(parseNumber(text) + 0.0f); // no "-0" for «-0,5»
    const auto comma = text.find(',');
    if (comma != std::string_view::npos &&
        text.find_first_not_of(" \t\n", comma + 1) != std::string_view::npos)
        return commaHint(text, read);
    const std::string_view unread = unreadPart(text);
    // A comma alone at the end is a fraction about to be typed; so is what
    // one more digit (or &H's letter) would make a number of.
    const std::string typed(text);
    if (unread.empty() || unread.front() == ',' || unreadPart(typed + "1").empty() ||
        unreadPart(typed + "H1").empty())
        return std::nullopt;
    return "Читается " + read + ", а " + quoted(unread) + " не читается";
}

} // namespace zulcalc
