#include "calc/inputs.h"
#include "calc/numbers.h"
#include "tests/calc/test_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>

namespace zulcalc {
namespace {

using namespace testing_support;

TEST(ParseNumber, TheRuleOfTheInputBoxes) {
    for (const auto& row : readTable("calc/parse.tsv", true)) {
        const std::string text = row[0].substr(1, row[0].size() - 2);
        EXPECT_EQ(bits(parseNumber(text)), bits(number(row[1]))) << row[0];
        EXPECT_EQ(holdsNumber(text), row[2] == "yes") << row[0];
    }
    // Blanks of every kind, bytes that are no text, and however long a text.
    EXPECT_EQ(parseNumber("1\t2\n3"), 123);
    EXPECT_FALSE(holdsNumber(std::string("\xff\xfe\x80") + '1'));
    EXPECT_EQ(parseNumber(std::string(5000, '9')), number("inf"));
    EXPECT_EQ(parseNumber("0." + std::string(5000, '0') + "1"), 0);
    EXPECT_EQ(parseNumber("&H" + std::string(400, 'F')), number("inf"));
}

// Random texts of digits, signs, points, exponents, blanks and commas keep
// the properties of the reading (the fuzzer tries any bytes).
TEST(ParseNumber, RandomTextsAgreeWithTheCLibrary) {
    std::mt19937 random(20261207);
    const auto digits = [&](unsigned most) {
        std::string text(random() % (most + 1), '0');
        for (char& c : text)
            c = static_cast<char>('0' + random() % 10);
        return text;
    };
    for (int i = 0; i < 20000; ++i) {
        std::string text = (random() % 3 ? "" : "-") + digits(12);
        text += random() % 2 ? "." + digits(25) : "";
        text += random() % 2 ? (random() % 2 ? "e" : "D-") + std::to_string(random() % 60) : "";
        text.insert(random() % (text.size() + 1), random() % 4 ? "" : random() % 2 ? " " : ",9");
        const char* fault = readingFault(text);
        ASSERT_FALSE(fault) << fault << ": «" << text << "»";
    }
}

// Formatting, rounding and storing in single precision as numbers.tsv lists them.
TEST(Numbers, FormatRoundAndStoreAsTheTableSays) {
    for (const auto& row : readTable("calc/numbers.tsv")) {
        if (row[0] == "format")
            EXPECT_EQ(formatNumber(number(row[1]), std::stoi(row[2]), row[3]), row[4])
                << row[1] << " at " << row[2];
        else if (row[0] == "round")
            EXPECT_EQ(roundToOneDecimal(number<double>(row[1])), number<double>(row[2])) << row[1];
        else {
            EXPECT_EQ(toSingle(number<double>(row[1])), number(row[2])) << row[1];
            EXPECT_EQ(overflowsSingle(number<double>(row[1])), std::isinf(number(row[2])));
        }
    }
}

} // namespace
} // namespace zulcalc
