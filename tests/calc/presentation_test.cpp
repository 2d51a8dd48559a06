#include "calc/presentation.h"

#include "tests/calc/test_support.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace zulcalc {
namespace {

using testing_support::RecordingWindow;
using testing_support::room;

const Исходные_значения kOffice = room(10, 6, 3, 3, 1, 90, 60);
const Исходные_значения kQuiet = room(12, 8, 4, 4, 0.5f, 92, 70);
const Исходные_значения kLoud = room(10, 6, 2, 3.5f, 10, 127, 60);

// The six boxes in the order of ResultBox, then the two level colours.
struct Shown {
    std::array<const char*, 6> texts;
    std::uint32_t level3mColour;
    std::uint32_t listenerColour;
};

struct PresentCase {
    const char* name;
    Исходные_значения in;
    OptionButton mount;
    const char* separator;
    Shown shown;
    std::vector<Warning> warnings;
};

class Present : public testing::TestWithParam<PresentCase> {};

TEST_P(Present, ShowsResultsColoursAndWarningsInOrder) {
    const auto& c = GetParam();
    Расчетные_величины v;
    ASSERT_FALSE(calculate(c.in, v).has_value());
    RecordingWindow window(c.mount);
    present(v, window, c.separator);

    for (std::size_t i = 0; i < c.shown.texts.size(); ++i)
        EXPECT_EQ(window.m_texts[static_cast<ResultBox>(i)], c.shown.texts[i]) << "box " << i;
    EXPECT_EQ(window.m_colours[ResultBox::LevelAt3m], c.shown.level3mColour);
    EXPECT_EQ(window.m_colours[ResultBox::ListenerLevel], c.shown.listenerColour);
    // Only the two level boxes are ever painted.
    EXPECT_EQ(window.m_colours.size(), 2u);
    EXPECT_EQ(window.m_warnings, c.warnings);
    for (const auto& title : window.m_titles)
        EXPECT_EQ(title, "Ошибка вычислений!");
}

constexpr auto W = kWhite;
constexpr auto R = kRed;

// clang-format off
INSTANTIATE_TEST_SUITE_P(WorkedExamples, Present, testing::Values(
    PresentCase{"OfficeWall", kOffice, OptionButton::Wall, ".", {{"75", "80", "86", "10", "1.5", "3"}, W, W}, {}},
    PresentCase{"OfficeCeiling", kOffice, OptionButton::Ceiling, ".", {{"75", "80", "80", "5", "1.7", "3.4"}, W, W}, {}},
    PresentCase{"OfficeWallComma", kOffice, OptionButton::Wall, ",", {{"75", "80", "86", "10", "1,5", "3"}, W, W}, {}},
    PresentCase{"QuietWall", kQuiet, OptionButton::Wall, ".", {{"85", "79", "81", "9", "2", "4"}, W, R},
                {Warning::P3Low, Warning::P3aLow}},
    PresentCase{"QuietCeiling", kQuiet, OptionButton::Ceiling, ".", {{"85", "79", "77", "3", "2.9", "5.7"}, W, R},
                {Warning::P3Low}},
    PresentCase{"LoudWall", kLoud, OptionButton::Wall, ".", {{"75", "127", "131", "22", "1", "2"}, R, R},
                {Warning::P3High, Warning::P1aHigh, Warning::P3aHigh}},
    PresentCase{"LoudCeiling", kLoud, OptionButton::Ceiling, ".", {{"75", "127", "131", "3", "2.3", "4.6"}, R, R},
                {Warning::P1High, Warning::P3High, Warning::P1aHigh}},
    PresentCase{"SpacingTieWall", room(10, 6, 2.125f, 3, 1, 90, 60), OptionButton::Wall, ".",
                {{"75", "80", "86", "20", "1.06", "2.12"}, W, W}, {}}),
    [](const auto& param) { return std::string(param.param.name); });
// clang-format on

TEST(Present, WallTypeShowsTheListenerAtDistanceRBeforeUnderTheCeiling) {
    Расчетные_величины v;
    ASSERT_FALSE(calculate(room(10, 6, 2.125f, 3, 1, 90, 60), v).has_value());
    RecordingWindow window(OptionButton::Wall);
    present(v, window, ".");
    EXPECT_EQ(window.m_history[ResultBox::ListenerLevel], (std::vector<std::string>{"83", "86"}));
}

// Levels set directly, around the limits.
struct LimitCase {
    const char* name;
    OptionButton mount;
    float level3m;  // P1 and P1a
    float required; // both copies of N + 15
    float p3;
    float p3a;
    std::uint32_t level3mColour;
    std::uint32_t listenerColour;
    std::vector<Warning> warnings;
};

class Limits : public testing::TestWithParam<LimitCase> {};

TEST_P(Limits, JudgeTheBoundariesAsTheCodeOfPracticeSays) {
    const auto& c = GetParam();
    Расчетные_величины v;
    v.P1 = v.P1a = c.level3m;
    v.Sтреб_wall = v.Sтреб_ceil = c.required;
    v.P3 = c.p3;
    v.P3a = c.p3a;
    RecordingWindow window(c.mount);
    present(v, window, ".");
    EXPECT_EQ(window.m_colours[ResultBox::LevelAt3m], c.level3mColour);
    EXPECT_EQ(window.m_colours[ResultBox::ListenerLevel], c.listenerColour);
    EXPECT_EQ(window.m_warnings, c.warnings);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Boundaries, Limits, testing::Values(
    LimitCase{"Exactly75", OptionButton::Wall, 75, 75, 80, 80, W, W, {}},
    LimitCase{"Exactly120", OptionButton::Wall, 120, 75, 80, 80, W, W, {}},
    LimitCase{"JustOver120", OptionButton::Wall, 120.0001f, 75, 80, 80, R, W, {Warning::P1aHigh}},
    LimitCase{"JustUnder75Ceiling", OptionButton::Ceiling, 74.9999f, 75, 80, 80, R, W, {Warning::P1Low, Warning::P1aLow}},
    LimitCase{"ListenerExactlyRequired", OptionButton::Wall, 80, 75, 75, 75, W, W, {}},
    LimitCase{"ListenerAt120", OptionButton::Wall, 80, 75, 120, 120, W, W, {}},
    // N > 105: nothing passes; distance r tests low first, the ceiling
    // speaker tests high first.
    LimitCase{"LoudRoomQuietSpeaker", OptionButton::Wall, 80, 121, 110, 110, W, R, {Warning::P3Low, Warning::P3aLow}},
    LimitCase{"LoudRoomLoudSpeaker", OptionButton::Wall, 80, 121, 120.5f, 120.5f, W, R, {Warning::P3Low, Warning::P3aHigh}},
    LimitCase{"LoudRoomVeryLoudSpeaker", OptionButton::Wall, 80, 121, 125, 125, W, R, {Warning::P3High, Warning::P3aHigh}},
    LimitCase{"CeilingWarningBetweenThe3mWarnings", OptionButton::Ceiling, 127, 75, 70, 70, R, R,
              {Warning::P1High, Warning::P3Low, Warning::P1aHigh}}),
    [](const auto& param) { return std::string(param.param.name); });
// clang-format on

TEST(WarningPrompt, FiveLinesJoinedByCarriageReturns) {
    const std::string p3Low = warningPrompt(Warning::P3Low);
    EXPECT_EQ(p3Low, "Ошибка в расчете! (P3 < Sшум)\r"
                     " Недопустимое значение уровня звука на расстоянии от оповещателя до "
                     "слушателя.\r"
                     " Нарущение п.4.2 СП 3.13130-2009. \r"
                     " Уровнь звука на расстоянии от оповещателя до слушателя должен быть не "
                     "менее чем на 15 дБ выше уровня фонового шума помещения.\r"
                     "Возьмите другой оповещатель с более высокой чувствительностью или "
                     "увеличте мощность оповещателя");
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
