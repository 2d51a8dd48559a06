#include "calc/inputs.h"

#include "calc/numbers.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace zulcalc {

namespace {

// In the order of Input, as kInputBoxes.
constexpr std::array<float Исходные_значения::*, 7> kMembers = {
    &Исходные_значения::H, &Исходные_значения::W, &Исходные_значения::L, &Исходные_значения::S,
    &Исходные_значения::P, &Исходные_значения::N, &Исходные_значения::r};

float Исходные_значения::*member(Input input) {
    return kMembers[static_cast<std::size_t>(input)];
}

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n';
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

int digitValue(char c) {
    if (isDigit(c))
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return 99;
}

// What the reading of a box's text found: the number, whether any digit was
// read at all (an empty box, "abc", " " and "-" hold no number), and how many
// characters, blanks left out, it took.
struct Reading {
    double value = 0;
    bool digits = false;
    std::size_t used = 0;
};

// "&H1F" / "&O17": a non-negative integer of any length, rounded once to double.
Reading readRadix(std::string_view text, int radix) {
    std::string bits;
    std::size_t used = 0;
    for (char c : text) {
        const int d = digitValue(c);
        if (d >= radix)
            break;
        ++used;
        if (radix == 16) {
            bits += c;
            continue;
        }
        for (int shift = 2; shift >= 0; --shift)
            bits += static_cast<char>('0' + ((d >> shift) & 1));
    }
    if (bits.empty())
        return {};
    if (radix == 8) {
        // Regroup the octal digits' bits into hexadecimal digits so that the
        // library's correctly rounded hexadecimal reader does the rounding.
        bits.insert(0, (4 - bits.size() % 4) % 4, '0');
        std::string hex;
        for (std::size_t i = 0; i < bits.size(); i += 4) {
            const int v = (bits[i] - '0') * 8 + (bits[i + 1] - '0') * 4 + (bits[i + 2] - '0') * 2 +
                          (bits[i + 3] - '0');
            hex += "0123456789abcdef"[v];
        }
        bits = hex;
    }
    double value = 0;
    const auto res =
        std::from_chars(bits.data(), bits.data() + bits.size(), value, std::chars_format::hex);
    if (res.ec == std::errc::result_out_of_range)
        value = std::numeric_limits<double>::infinity();
    return {value, true, used};
}

Reading readDecimal(std::string_view text) {
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    std::string whole;
    std::string fraction;
    while (i < text.size() && isDigit(text[i]))
        whole += text[i++];
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && isDigit(text[i]))
            fraction += text[i++];
    }
    if (whole.empty() && fraction.empty())
        return {};

    // The exponent saturates far beyond double's range, so any length of
    // digits is safe and the direction of an out-of-range result is kept.
    long long exponent = 0;
    std::size_t used = i;
    if (i < text.size() && std::string_view("eEdD").find(text[i]) != std::string_view::npos) {
        std::size_t j = i + 1;
        bool expNegative = false;
        if (j < text.size() && (text[j] == '+' || text[j] == '-'))
            expNegative = text[j++] == '-';
        if (j < text.size() && isDigit(text[j])) {
            for (; j < text.size() && isDigit(text[j]); ++j)
                exponent = std::min(exponent * 10 + (text[j] - '0'), 1'000'000'000LL);
            if (expNegative)
                exponent = -exponent;
            used = j;
        }
    }

    const std::string number =
        (whole.empty() ? "0" : whole) + "." + fraction + "e" + std::to_string(exponent);
    double value = 0;
    const auto res = std::from_chars(number.data(), number.data() + number.size(), value);
    if (res.ec == std::errc::result_out_of_range) {
        // Too large or too small for double: which one follows from the
        // decimal exponent of the leading significant digit.
        const auto firstWhole = whole.find_first_not_of('0');
        long long magnitude = exponent;
        if (firstWhole != std::string::npos)
            magnitude += static_cast<long long>(whole.size() - firstWhole);
        else
            magnitude -= static_cast<long long>(fraction.find_first_not_of('0'));
        value = magnitude > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    }
    return {negative ? -value : value, true, used};
}

Reading read(std::string_view text) {
    std::string compact;
    compact.reserve(text.size());
    for (char c : text)
        if (!isBlank(c))
            compact += c;

    const std::string_view all(compact), prefix = all.substr(0, 2);
    const int radix = prefix == "&H" || prefix == "&h"   ? 16
                      : prefix == "&O" || prefix == "&o" ? 8
                                                         : 0;
    if (!radix)
        return readDecimal(all);
    Reading reading = readRadix(all.substr(2), radix);
    reading.used += reading.digits ? 2 : 0;
    return reading;
}

} // namespace

std::optional<Input> inputForBox(std::string_view boxName) {
    for (Input input : kAllInputs)
        if (inputBoxName(input) == boxName)
            return input;
    return std::nullopt;
}

float& valueOf(Исходные_значения& values, Input input) {
    return values.*member(input);
}

float valueOf(const Исходные_значения& values, Input input) {
    return values.*member(input);
}

float parseNumber(std::string_view text) {
    return toSingle(read(text).value);
}

bool holdsNumber(std::string_view text) {
    return read(text).digits;
}

std::string_view unreadPart(std::string_view text) {
    const std::size_t used = read(text).used;
    std::size_t at = 0;
    for (std::size_t taken = 0; at < text.size(); ++at)
        if (!isBlank(text[at]) && taken++ == used)
            break;
    text.remove_prefix(at);
    const auto last = text.find_last_not_of(" \t\n");
    return last == std::string_view::npos ? std::string_view() : text.substr(0, last + 1);
}

void onTextChanged(Исходные_значения& values, std::string_view boxName, std::string_view text) {
    if (const auto input = inputForBox(boxName))
        valueOf(values, *input) = parseNumber(text);
}

} // namespace zulcalc
