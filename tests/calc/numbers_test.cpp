#include "calc/inputs.h"
#include "calc/numbers.h"
#include "tests/calc/test_support.h"

#include <gtest/gtest.h>

#include <bit>
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

TEST(ParseNumber, TheRuleOfTheInputBoxes) {
    for (const auto& row : testing_support::readTable("calc/parse.tsv", true)) {
        const std::string text = row[0].substr(1, row[0].size() - 2);
        EXPECT_EQ(bits(parseNumber(text)), bits(testing_support::number(row[1]))) << row[0];
        EXPECT_EQ(holdsNumber(text), row[2] == "yes") << row[0];
    }
    // Blanks of every kind, bytes that are no text, and however long a text.
    EXPECT_EQ(parseNumber("1\t2\n3"), 123);
    EXPECT_FALSE(holdsNumber("\xff\xfe\x80"
                             "1"));
    EXPECT_EQ(parseNumber(std::string(5000, '9')), kInf);
    EXPECT_EQ(parseNumber("0." + std::string(5000, '0') + "1"), 0);
    EXPECT_EQ(parseNumber("&H" + std::string(400, 'F')), kInf);
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

TEST(FormatNumber, RoundsTheStoredValueHalfToEvenAndRoundsOneDecimalAwayFromZero) {
    using testing_support::number;
    for (const auto& row : testing_support::readTable("calc/numbers.tsv")) {
        if (row[0] == "format")
            EXPECT_EQ(formatNumber(number(row[1]), std::stoi(row[2]), row[3]), row[4])
                << row[1] << " at " << row[2];
        else
            EXPECT_EQ(roundToOneDecimal(number<double>(row[1])), number<double>(row[2])) << row[1];
    }
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
