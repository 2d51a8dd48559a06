#include "calc/numbers.h"

#include <array>
#include <charconv>
#include <cmath>
#include <limits>

namespace zulcalc {

namespace {

// Halfway between FLT_MAX and 2^128: from here on round-to-nearest gives
// infinity (FLT_MAX has an odd significand, so the tie goes up).
constexpr double kSingleOverflow = 0x1.ffffffp127;

// Exact integer digits of an integral double, no sign, no locale.
std::string integerDigits(double integral) {
    std::array<char, 400> buf{};
    auto res = std::to_chars(buf.data(), buf.data() + buf.size(), std::fabs(integral),
                             std::chars_format::fixed, 0);
    return std::string(buf.data(), res.ptr);
}

double roundHalfEven(double x) {
    const double down = std::floor(x);
    const double diff = x - down; // exact: x and down share the exponent range
    if (diff > 0.5)
        return down + 1;
    if (diff < 0.5)
        return down;
    return std::fmod(down, 2.0) == 0 ? down : down + 1;
}

} // namespace

bool overflowsSingle(double value) {
    return std::isfinite(value) && std::fabs(value) >= kSingleOverflow;
}

float toSingle(double value) {
    constexpr float inf = std::numeric_limits<float>::infinity();
    if (overflowsSingle(value))
        return value > 0 ? inf : -inf;
    return static_cast<float>(value);
}

double roundToOneDecimal(double value) {
    if (!std::isfinite(value))
        return value;
    // value * 10 is exact for inputs of at most 49 significant bits, so the
    // tie test below sees the true decimal value.
    const double scaled = std::round(value * 10.0);
    std::string text = integerDigits(scaled);
    if (text.size() < 2)
        text.insert(0, 2 - text.size(), '0');
    text.insert(text.size() - 1, 1, '.');
    double result = 0;
    std::from_chars(text.data(), text.data() + text.size(), result);
    return std::signbit(scaled) ? -result : result;
}

std::string formatNumber(float value, int places, const std::string& separator) {
    const double exact = static_cast<double>(value);
    if (!std::isfinite(exact))
        return exact > 0 ? "∞" : (exact < 0 ? "-∞" : "?");
    const double scale = std::pow(10.0, places);
    // A float has 24 significant bits, so value * 10^places (places <= 2)
    // is exact and the tie is judged on the stored value.
    const double rounded = roundHalfEven(exact * scale);
    if (std::fabs(rounded / scale) >= 1e15) {
        std::array<char, 64> buf{};
        auto res = std::to_chars(buf.data(), buf.data() + buf.size(), exact,
                                 std::chars_format::scientific, 6);
        std::string text(buf.data(), res.ptr);
        auto e = text.find('e');
        std::string mantissa = text.substr(0, e);
        std::string exponent = text.substr(e + 1);
        while (mantissa.back() == '0')
            mantissa.pop_back();
        if (mantissa.back() == '.')
            mantissa.pop_back();
        if (auto dot = mantissa.find('.'); dot != std::string::npos)
            mantissa.replace(dot, 1, separator);
        return mantissa + "E" + exponent;
    }
    std::string digits = integerDigits(rounded);
    const auto width = static_cast<std::size_t>(places) + 1;
    if (digits.size() < width)
        digits.insert(0, width - digits.size(), '0');
    std::string whole = digits.substr(0, digits.size() - static_cast<std::size_t>(places));
    std::string fraction = digits.substr(whole.size());
    while (!fraction.empty() && fraction.back() == '0')
        fraction.pop_back();
    std::string text = (rounded < 0 ? "-" : "") + whole;
    if (!fraction.empty())
        text += separator + fraction;
    return text;
}

} // namespace zulcalc
