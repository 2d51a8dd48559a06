// Any bytes typed into an input box: the reading never misbehaves, ignores
// blanks wherever they stand, stops at a comma, and agrees with the C
// library's correctly rounded reader on plain decimal numbers.
#include "calc/inputs.h"
#include "calc/numbers.h"

#include <bit>
#include <clocale>
#include <cstdint>
#include <cstdlib>
#include <locale.h>
#include <regex>
#include <string>

namespace {

std::uint32_t bits(float value) {
    return std::bit_cast<std::uint32_t>(value);
}

std::string withoutBlanks(const std::string& text) {
    std::string out;
    for (char c : text)
        if (c != ' ' && c != '\t' && c != '\n')
            out += c;
    return out;
}

// strtod in the C locale, whatever the process's locale.
double cStrtod(const std::string& text) {
    static const locale_t c = newlocale(LC_ALL_MASK, "C", nullptr);
    return strtod_l(text.c_str(), nullptr, c);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    // The first comma splits the input into a text and what follows it.
    const auto comma = input.find(',');
    const std::string text = input.substr(0, comma);

    const float value = zulcalc::parseNumber(input);
    if (bits(value) != bits(zulcalc::parseNumber(text)))
        std::abort(); // something after the comma was read
    if (bits(value) != bits(zulcalc::parseNumber(withoutBlanks(input))))
        std::abort(); // a blank changed the value

    static const std::regex plain(R"([+-]?(\d+\.?\d*|\.\d+)([eEdD][+-]?\d+)?)");
    std::string compact = withoutBlanks(text);
    if (std::regex_match(compact, plain)) {
        for (char& c : compact)
            if (c == 'd' || c == 'D')
                c = 'e';
        const float reference = zulcalc::toSingle(cStrtod(compact));
        if (bits(value) != bits(reference))
            std::abort(); // disagrees with the C library
    }
    return 0;
}
