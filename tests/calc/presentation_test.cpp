#include "calc/presentation.h"

#include "tests/calc/test_support.h"

#include <gtest/gtest.h>

namespace zulcalc {
namespace {

using namespace testing_support;

// The worked examples of window/presses.tsv go through the real window,
// which shows what present() tells it; those of the calculation method
// (method_test.cpp) through present() itself.

class Limits : public testing::TestWithParam<Row> {};

TEST_P(Limits, JudgeTheBoundariesAsTheCodeOfPracticeSays) {
    const Row& row = GetParam();
    Расчетные_величины v;
    v.P1 = v.P1a = number(row[2]);
    v.Sтреб_wall = v.Sтреб_ceil = number(row[3]);
    v.P3 = number(row[4]);
    v.P3a = number(row[5]);
    RecordingWindow window(row[1] == "ceiling" ? OptionButton::Ceiling : OptionButton::Wall);
    present(v, window, ".");
    // The colours of the two level boxes, and the warnings in order.
    EXPECT_EQ(window.m_colours[ResultBox::LevelAt3m], row[6] == "R" ? kRed : kWhite);
    EXPECT_EQ(window.m_colours[ResultBox::ListenerLevel], row[7] == "R" ? kRed : kWhite);
    EXPECT_EQ(window.m_colours.size(), 2u) << "only the two level boxes are painted";
    std::string warnings;
    for (const std::string& name : window.m_warnings)
        warnings += name + ',';
    EXPECT_EQ(warnings, row[8] == "-" ? "" : row[8] + ',');
}

INSTANTIATE_TEST_SUITE_P(Boundaries, Limits, testing::ValuesIn(readTable("calc/limits.tsv")),
                         RowName());

} // namespace
} // namespace zulcalc
