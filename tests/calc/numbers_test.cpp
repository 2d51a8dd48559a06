#include "calc/inputs.h"
#include "calc/numbers.h"

#include <gtest/gtest.h>

#include <bit>
#include <clocale>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <random>
#include <string>

namespace zulcalc {
namespace {

constexpr float kInf = std::numeric_limits<float>::infinity();

std::uint32_t bits(float value) {
    return std::bit_cast<std::uint32_t>(value);
}

// What the reading rule adds to a plain decimal number; plain numbers
// themselves are checked against the C library below.
TEST(ParseNumber, TheRuleOfTheInputBoxes) {
    struct Case {
        std::string text;
        float expected;
        bool holdsNumber;
    };
    const Case cases[] = {
        {"", 0, false},       {"abc", 0, false},    {" ", 0, false},       {"-", 0, false},
        {".", 0, false},      {"--1", 0, false},    {"&H", 0, false},      {"&HG", 0, false},
        {"2,5", 2, true},     {"1 2", 12, true},    {" 3.5 м", 3.5f, true}, {"1\t2\n3", 123, true},
        {"1d2", 100, true},   {"1D-2", 0.01f, true}, {"1.2.3", 1.2f, true}, {"1e", 1, true},
        {"1e+", 1, true},     {"1ex", 1, true},     {"&H1F", 31, true},    {"&hff", 255, true},
        {"&O17", 15, true},   {"&o777", 511, true}, {"&12", 0, false},     {"& H10", 16, true},
        {"&HFFFFFFFF", 4294967295.0f, true},        {"1e39", kInf, true},  {"-1e39", -kInf, true},
        {"1e400", kInf, true}, {"-1e99999999999999999999", -kInf, true},   {"1e-400", 0, true},
        {"0.000000000000000000000000000000000000000000001e400", kInf, true},
        {std::string(5000, '9'), kInf, true},       {"0." + std::string(5000, '0') + "1", 0, true},
        {"&H" + std::string(400, 'F'), kInf, true}, {"\xff\xfe\x80" "1", 0, false},
        // Double rounding, as the boxes always did: just above a float tie,
        // this text rounds to the tie in double, which then goes to even.
        {"1.00000005960464477550", 1.0f, true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(bits(parseNumber(c.text)), bits(c.expected)) << "text «" << c.text << "»";
        EXPECT_EQ(holdsNumber(c.text), c.holdsNumber) << "text «" << c.text << "»";
    }
}

// Plain decimal texts read exactly as the C library reads them (correctly
// rounded to double), then rounded once more to single precision.
TEST(ParseNumber, PlainDecimalsAgreeWithTheCLibrary) {
    std::mt19937 random(20261207);
    const auto digits = [&](int most) {
        std::string text;
        for (int n = std::uniform_int_distribution<>(0, most)(random); n > 0; --n)
            text += static_cast<char>('0' + random() % 10);
        return text;
    };
    for (int i = 0; i < 20000; ++i) {
        std::string text = std::string(random() % 3 == 0 ? "-" : "") + digits(12);
        if (random() % 2)
            text += "." + digits(25);
        if (text.find_first_of("0123456789") == std::string::npos)
            continue;
        if (random() % 2)
            text += (random() % 2 ? "e" : "e-") + std::to_string(random() % 60);
        const float expected = toSingle(std::strtod(text.c_str(), nullptr));
        ASSERT_EQ(bits(parseNumber(text)), bits(expected)) << "text «" << text << "»";
    }
}

TEST(TextChanged, UpdatesOnlyTheBoxesThatFeedTheCalculation) {
    Исходные_значения values;
    for (Input input : kAllInputs)
        EXPECT_TRUE(onTextChanged(values, inputBoxName(input), "7"));
    for (Input input : kAllInputs)
        EXPECT_EQ(valueOf(values, input), 7);
    EXPECT_FALSE(onTextChanged(values, "txtЗначение_Площадь", "99"));
    onTextChanged(values, "txtЗначение_Высота", "");
    EXPECT_EQ(values.H, 0);
    EXPECT_EQ(values.W, 7);
}

TEST(FormatNumber, RoundsTheStoredValueHalfToEven) {
    struct Case {
        float value;
        int places;
        const char* separator;
        const char* expected;
    };
    const Case cases[] = {
        {2.125f, 2, ".", "2.12"}, // an exact tie: to the even digit
        {1.135f, 2, ".", "1.13"}, // stored as 1.13499999...
        {2.375f, 2, ".", "2.38"},   {1.5f, 2, ",", "1,5"},   {3.0f, 2, ".", "3"},
        {0.5f, 2, ".", "0.5"},      {22.5f, 0, ".", "22"},   {23.5f, 0, ".", "24"},
        {-5.0819f, 0, ".", "-5"},   {-0.001f, 2, ".", "0"},  {-0.25f, 2, ",", "-0,25"},
        {0.015f, 2, ".", "0.01"},   {1e8f, 0, ".", "100000000"},
        {123456789012.0f, 0, ".", "123456790528"},
        {1.2345678e20f, 0, ",", "1,234568E+20"}, {1e16f, 0, ".", "1E+16"},
        {1e15f, 0, ".", "999999986991104"}, // just below 10^15 as a float
        {-3e38f, 2, ",", "-3E+38"}, {kInf, 0, ".", "∞"}, {-kInf, 0, ".", "-∞"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(formatNumber(c.value, c.places, c.separator), c.expected)
            << c.value << " at " << c.places;
}

TEST(RoundToOneDecimal, TiesAwayFromZeroOnTheExactValue) {
    const std::pair<double, double> cases[] = {
        {1.75, 1.8},   {1.25, 1.3},          {-1.25, -1.3},        {0.04, 0.0},   {0.05, 0.1},
        {1.7180, 1.7}, {double(3.35f), 3.3}, {double(3.45f), 3.5}, {5.7268, 5.7}, {1e30, 1e30},
    };
    for (const auto& [value, expected] : cases)
        EXPECT_EQ(roundToOneDecimal(value), expected) << value;
}

TEST(ToSingle, OverflowsToInfinityOnlyPastTheRoundingEdge) {
    const float max = std::numeric_limits<float>::max();
    EXPECT_EQ(toSingle(0x1.fffffefffffffp127), max);
    EXPECT_TRUE(overflowsSingle(0x1.ffffffp127));
    EXPECT_EQ(toSingle(-0x1.ffffffp127), -kInf);
    EXPECT_EQ(toSingle(1e-50), 0.0f);
}

} // namespace
} // namespace zulcalc
