#include "calc/presentation.h"

#include "tests/calc/test_support.h"

#include <gtest/gtest.h>

namespace zulcalc {
namespace {

using testing_support::RecordingWindow;
using testing_support::Row;

std::string rowName(const testing::TestParamInfo<Row>& info) {
    return info.param[0];
}

OptionButton mount(const std::string& name) {
    return name == "ceiling" ? OptionButton::Ceiling : OptionButton::Wall;
}

// The last columns of a row: the colours of the two level boxes and the
// warnings, against what the window was told.
void expectVerdicts(const Row& row, std::size_t first, RecordingWindow& window) {
    const auto colour = [&](std::size_t i) { return row[i] == "R" ? kRed : kWhite; };
    EXPECT_EQ(window.m_colours[ResultBox::LevelAt3m], colour(first)) << "level at 3 m";
    EXPECT_EQ(window.m_colours[ResultBox::ListenerLevel], colour(first + 1)) << "listener";
    // Only the two level boxes are ever painted.
    EXPECT_EQ(window.m_colours.size(), 2u);
    std::vector<Warning> warnings;
    std::istringstream names(row[first + 2]);
    for (std::string name; std::getline(names, name, ',');)
        if (name != "-")
            warnings.push_back(testing_support::warningNamed(name));
    EXPECT_EQ(window.m_warnings, warnings);
    for (const auto& title : window.m_titles)
        EXPECT_EQ(title, "Ошибка вычислений!");
}

class Present : public testing::TestWithParam<Row> {};

TEST_P(Present, ShowsResultsColoursAndWarningsInOrder) {
    const Row& row = GetParam();
    Расчетные_величины v;
    ASSERT_FALSE(calculate(testing_support::room(row), v));
    RecordingWindow window(mount(row[8]));
    present(v, window, row[9]);
    for (std::size_t i = 0; i < 6; ++i)
        EXPECT_EQ(window.m_texts[static_cast<ResultBox>(i)], row[10 + i])
            << resultBoxName(static_cast<ResultBox>(i));
    expectVerdicts(row, 16, window);
}

INSTANTIATE_TEST_SUITE_P(WorkedExamples, Present,
                         testing::ValuesIn(testing_support::readTable("present.tsv")), rowName);

class Limits : public testing::TestWithParam<Row> {};

TEST_P(Limits, JudgeTheBoundariesAsTheCodeOfPracticeSays) {
    const Row& row = GetParam();
    Расчетные_величины v;
    v.P1 = v.P1a = testing_support::number(row[2]);
    v.Sтреб_wall = v.Sтреб_ceil = testing_support::number(row[3]);
    v.P3 = testing_support::number(row[4]);
    v.P3a = testing_support::number(row[5]);
    RecordingWindow window(mount(row[1]));
    present(v, window, ".");
    expectVerdicts(row, 6, window);
}

INSTANTIATE_TEST_SUITE_P(Boundaries, Limits,
                         testing::ValuesIn(testing_support::readTable("limits.tsv")), rowName);

TEST(Present, WallTypeShowsTheListenerAtDistanceRBeforeUnderTheCeiling) {
    Расчетные_величины v;
    ASSERT_FALSE(calculate(testing_support::room(Row{{"", "10", "6", "2.125", "3", "1", "90", "60"}}), v));
    RecordingWindow window(OptionButton::Wall);
    present(v, window, ".");
    EXPECT_EQ(window.m_history[ResultBox::ListenerLevel], (std::vector<std::string>{"83", "86"}));
}

TEST(WarningPrompt, FiveLinesJoinedByCarriageReturns) {
    EXPECT_EQ(warningPrompt(Warning::P3Low),
              "Ошибка в расчете! (P3 < Sшум)\r"
              " Недопустимое значение уровня звука на расстоянии от оповещателя до слушателя.\r"
              " Нарущение п.4.2 СП 3.13130-2009. \r"
              " Уровнь звука на расстоянии от оповещателя до слушателя должен быть не менее чем "
              "на 15 дБ выше уровня фонового шума помещения.\r"
              "Возьмите другой оповещатель с более высокой чувствительностью или увеличте "
              "мощность оповещателя");
    EXPECT_EQ(warningPrompt(Warning::P1aHigh),
              "Ошибка в расчете! (P1a)\r Недопустимое значение уровня звука.\r"
              "Нарущение п.4.1 СП 3.13130-2009. \rУровень звука должен быть не более 120 дб\r"
              "Возьмите другой оповещатель с более низкой чувствительностью или уменьшите "
              "мощность оповещателя");
    EXPECT_EQ(warningPrompt(Warning::P1Low),
              "Ошибка в расчете! (P1 < 75)\r"
              " Недопустимое значение уровня звука на расстоянии 3 м. от оповещателя. \r"
              "Нарущение п.4.1 СП 3.13130-2009. \rУровень звука должен быть не менее 75 дб\r"
              "Возьмите другой оповещатель с более высокой чувствительностью или увеличте "
              "мощность оповещателя");
    // Line 3 of the "too loud" listener rows has no leading space.
    EXPECT_NE(warningPrompt(Warning::P3aHigh).find("уровня звука.\rНарущение п.4.2"),
              std::string::npos);
}

} // namespace
} // namespace zulcalc
