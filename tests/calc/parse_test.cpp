#include "calc/inputs.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <limits>
#include <string>

namespace zulcalc {
namespace {

constexpr float kInf = std::numeric_limits<float>::infinity();

struct ParseCase {
    const char* text;
    float expected;
};

class ParseNumber : public testing::TestWithParam<ParseCase> {};

TEST_P(ParseNumber, ReadsLikeTheInputBoxes) {
    const auto& c = GetParam();
    const float got = parseNumber(c.text);
    EXPECT_EQ(std::bit_cast<std::uint32_t>(got), std::bit_cast<std::uint32_t>(c.expected))
        << "text «" << c.text << "» gave " << got;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ParseNumber,
    testing::Values(
        ParseCase{"", 0}, ParseCase{"abc", 0}, ParseCase{"2,5", 2}, ParseCase{"2.5", 2.5f},
        ParseCase{"1 2", 12}, ParseCase{" 3.5 м", 3.5f}, ParseCase{"1\t2\n3", 123},
        ParseCase{"1.5e1", 15}, ParseCase{"-4", -4}, ParseCase{"+4", 4}, ParseCase{"1d2", 100},
        ParseCase{"1D-2", 0.01f}, ParseCase{"2E+1", 20}, ParseCase{".5", 0.5f},
        ParseCase{"-.25", -0.25f}, ParseCase{"5.", 5}, ParseCase{"1.2.3", 1.2f}, ParseCase{"1e", 1},
        ParseCase{"1e+", 1}, ParseCase{"1ex", 1}, ParseCase{"-", 0}, ParseCase{".", 0},
        ParseCase{"--1", 0}, ParseCase{"&H1F", 31}, ParseCase{"&hff", 255}, ParseCase{"&O17", 15},
        ParseCase{"&o777", 511}, ParseCase{"&H", 0}, ParseCase{"&HG", 0}, ParseCase{"&12", 0},
        ParseCase{"& H10", 16}, ParseCase{"&HFFFFFFFF", 4294967295.0f}, ParseCase{"1e39", kInf},
        ParseCase{"-1e39", -kInf}, ParseCase{"3.4028235e38", std::numeric_limits<float>::max()},
        ParseCase{"1e400", kInf}, ParseCase{"-1e99999999999999999999", -kInf},
        ParseCase{"1e-400", 0}, ParseCase{"1e-50", 0},
        ParseCase{"0.000000000000000000000000000000000000000000001e400", kInf},
        // Double rounding first, as the boxes always did: this
        // text lies just above a float tie but rounds to the tie
        // in double, which then goes to the even float.
        ParseCase{"1.00000005960464477550", 1.0f}));

TEST(ParseNumber, EveryLongTextIsSafe) {
    EXPECT_EQ(parseNumber(std::string(5000, '9')), kInf);
    EXPECT_EQ(parseNumber("0." + std::string(5000, '0') + "1"), 0);
    EXPECT_EQ(parseNumber("&H" + std::string(400, 'F')), kInf);
    EXPECT_EQ(parseNumber(std::string("\xff\xfe\x80", 3) + "1"), 0);
}

TEST(TextChanged, UpdatesOnlyTheBoxesThatFeedTheCalculation) {
    Исходные_значения values;
    for (Input input : kAllInputs)
        EXPECT_TRUE(onTextChanged(values, inputBoxName(input), "7"));
    for (Input input : kAllInputs)
        EXPECT_EQ(valueOf(values, input), 7);

    EXPECT_FALSE(onTextChanged(values, "txtЗначение_Площадь", "99"));
    EXPECT_FALSE(onTextChanged(values, "txtЗначение_шифр_проекта", "99"));
    EXPECT_EQ(values.H, 7);

    // Typing a digit and deleting it again leaves the value at 0.
    onTextChanged(values, "txtЗначение_Высота", "");
    EXPECT_EQ(values.H, 0);
    EXPECT_EQ(values.W, 7);
}

} // namespace
} // namespace zulcalc
