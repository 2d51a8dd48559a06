#include "calc/calculation.h"

#include "tests/calc/test_support.h"

#include <gtest/gtest.h>

#include <array>
#include <bit>

namespace zulcalc {
namespace {

using namespace testing_support;

class CalculationGolden : public testing::TestWithParam<Row> {};

TEST_P(CalculationGolden, EveryStepBitExact) {
    Расчетные_величины v;
    ASSERT_FALSE(calculate(room(GetParam()), v));
    // The record holds the 22 steps in order, each a float.
    const auto got = std::bit_cast<std::array<float, 22>>(v);
    for (std::size_t i = 0; i < got.size(); ++i) {
        const float expected = number(GetParam()[8 + i]);
        EXPECT_EQ(bits(got[i]), bits(expected))
            << "step " << i + 1 << ": got " << std::hexfloat << got[i] << ", expected " << expected;
    }
    // A second run on the same inputs gives the same record.
    Расчетные_величины again;
    ASSERT_FALSE(calculate(room(GetParam()), again));
    EXPECT_EQ(again, v);
}

INSTANTIATE_TEST_SUITE_P(WorkedExamples, CalculationGolden,
                         testing::ValuesIn(readTable("calc/golden.tsv")), RowName());

class CalculationFault : public testing::TestWithParam<Row> {};

TEST_P(CalculationFault, StopsAtTheStepBeforeTheWindowChanges) {
    const Row& row = GetParam();
    const std::string kinds[] = {"InvalidOperation", "DivisionByZero", "Overflow", "Domain"};
    const auto kind = std::find(std::begin(kinds), std::end(kinds), row[8]) - kinds;
    const auto input = std::string_view("HWLSPNr").find(row[10][0]);
    const CalcFault expected{FaultKind(kind), std::stoi(row[9]),
                             input < 7 ? std::optional(Input(input)) : std::nullopt};

    Расчетные_величины v;
    v.P1 = 42; // what an earlier calculation left
    const Расчетные_величины before = v;
    RecordingWindow window(OptionButton::Wall);
    const auto fault = calculateAndPresent(room(row), v, window, ".");
    ASSERT_TRUE(fault);
    EXPECT_EQ(*fault, expected) << "got step " << fault->step << ", kind "
                                << static_cast<int>(fault->kind);
    EXPECT_EQ(window.m_calls, 0) << "a faulting calculation reached the window";
    EXPECT_EQ(v, before);
}

INSTANTIATE_TEST_SUITE_P(BadInputs, CalculationFault,
                         testing::ValuesIn(readTable("calc/faults.tsv")), RowName());

} // namespace
} // namespace zulcalc
