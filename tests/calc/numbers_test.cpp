#include "calc/numbers.h"

#include <gtest/gtest.h>

#include <limits>

namespace zulcalc {
namespace {

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
        {2.375f, 2, ".", "2.38"},
        {1.5f, 2, ",", "1,5"},
        {3.0f, 2, ".", "3"},
        {0.5f, 2, ".", "0.5"},
        {1.0625f, 2, ".", "1.06"},
        {22.5f, 0, ".", "22"},
        {23.5f, 0, ".", "24"},
        {2.5f, 0, ".", "2"},
        {-10.0f, 0, ".", "-10"},
        {-5.0819f, 0, ".", "-5"},
        {-0.001f, 2, ".", "0"}, // never "-0"
        {-0.0f, 0, ".", "0"},
        {-0.25f, 2, ",", "-0,25"},
        {0.015f, 2, ".", "0.01"},
        {80.4576f, 0, ".", "80"},
        {1e8f, 0, ".", "100000000"},
        {123456789012.0f, 0, ".", "123456790528"},
        {1.2345678e20f, 0, ",", "1,234568E+20"},
        {1e16f, 0, ".", "1E+16"},
        {1e15f, 0, ".", "999999986991104"}, // just below 10^15 as a float
        {-3e38f, 2, ",", "-3E+38"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(formatNumber(c.value, c.places, c.separator), c.expected)
            << c.value << " at " << c.places;
}

TEST(RoundToOneDecimal, TiesAwayFromZeroOnTheExactValue) {
    struct Case {
        double value;
        double expected;
    };
    const Case cases[] = {
        {1.75, 1.8},   {1.25, 1.3},          {-1.25, -1.3},        {0.04, 0.0},   {0.05, 0.1},
        {1.7180, 1.7}, {double(3.35f), 3.3}, {double(3.45f), 3.5}, {5.7268, 5.7}, {1e30, 1e30},
    };
    for (const auto& c : cases)
        EXPECT_EQ(roundToOneDecimal(c.value), c.expected) << c.value;
}

TEST(ToSingle, OverflowsToInfinityOnlyPastTheRoundingEdge) {
    const float max = std::numeric_limits<float>::max();
    EXPECT_EQ(toSingle(double(max)), max);
    EXPECT_EQ(toSingle(0x1.fffffefffffffp127), max);
    EXPECT_TRUE(overflowsSingle(0x1.ffffffp127));
    EXPECT_EQ(toSingle(-0x1.ffffffp127), -std::numeric_limits<float>::infinity());
    EXPECT_EQ(toSingle(1e-50), 0.0f);
}

} // namespace
} // namespace zulcalc
