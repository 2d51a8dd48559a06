#include "calc/calculation.h"

#include "tests/calc/test_support.h"

#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>

namespace zulcalc {
namespace {

using testing_support::room;

std::array<float, 22> asArray(const Расчетные_величины& v) {
    return {v.A,           v.Sтреб_wall, v.K,  v.n_wall,     v.d,      v.gap_wall, v.spacing_wall,
            v.L1,          v.P1,         v.P3, v.Sтреб_ceil, v.L1a,    v.P1a,      v.h,
            v.P3a,         v.R,          v.C,  v.A2,         v.n_ceil, v.s,        v.gap_ceil,
            v.spacing_ceil};
}

struct GoldenCase {
    const char* name;
    Исходные_значения in;
    // Every quantity bit for bit, worked out independently of this code with
    // single-precision rounding after each step.
    std::array<float, 22> expected;
};

class CalculationGolden : public testing::TestWithParam<GoldenCase> {};

TEST_P(CalculationGolden, EveryStepBitExact) {
    const auto& c = GetParam();
    Расчетные_величины v;
    ASSERT_FALSE(calculate(c.in, v).has_value());
    const auto got = asArray(v);
    for (std::size_t i = 0; i < got.size(); ++i)
        EXPECT_EQ(std::bit_cast<std::uint32_t>(got[i]), std::bit_cast<std::uint32_t>(c.expected[i]))
            << "step " << i + 1 << ": " << got[i] << " instead of " << c.expected[i];

    // A second run on the same inputs gives the same record.
    Расчетные_величины again;
    ASSERT_FALSE(calculate(c.in, again).has_value());
    EXPECT_EQ(again, v);
}

INSTANTIATE_TEST_SUITE_P(
    WorkedExamples, CalculationGolden,
    testing::Values(
        GoldenCase{"Office",
                   room(10, 6, 3, 3, 1, 90, 60),
                   {0x1.ep+5f,      0x1.2cp+6f,     0x1.8p+2f,      0x1.4p+3f,      0x1.0p+1f,
                    0x1.8p+0f,      0x1.8p+1f,      0x1.68p+6f,     0x1.41d48ep+6f, 0x1.41d48ep+6f,
                    0x1.2cp+6f,     0x1.68p+6f,     0x1.41d48ep+6f, 0x1.8p+0f,      0x1.59e9a6p+6f,
                    0x1.36ff3p+1f,  0x1.79cf06p+3f, 0x1.ep+5f,      0x1.453e76p+2f, 0x1.b7d0ep+1f,
                    0x1.b33334p+0f, 0x1.b33334p+1f}},
        GoldenCase{"QuietSpeaker",
                   room(12, 8, 4, 4, 0.5f, 92, 70),
                   {0x1.8p+6f,      0x1.54p+6f,     0x1.555556p+3f, 0x1.2p+3f,      0x1.555556p+1f,
                    0x1.0p+1f,      0x1.0p+2f,      0x1.63f574p+6f, 0x1.3dca02p+6f, 0x1.33cb44p+6f,
                    0x1.54p+6f,     0x1.63f574p+6f, 0x1.3dca02p+6f, 0x1.4p+1f,      0x1.441fa4p+6f,
                    0x1.0329fep+2f, 0x1.065dfep+5f, 0x1.8p+6f,      0x1.76ae58p+1f, 0x1.6e8366p+2f,
                    0x1.733334p+1f, 0x1.6cccccp+2f}},
        GoldenCase{"LoudSpeaker",
                   room(10, 6, 2, 3.5f, 10, 127, 60),
                   {0x1.ep+5f,      0x1.2cp+6f,     0x1.555556p+1f, 0x1.68p+4f,     0x1.555556p+0f,
                    0x1.0p+0f,      0x1.0p+1f,      0x1.12p+7f,     0x1.fdd48ep+6f, 0x1.05f574p+7f,
                    0x1.2cp+6f,     0x1.12p+7f,     0x1.fdd48ep+6f, 0x1.0p+1f,      0x1.05f574p+7f,
                    0x1.9ea996p+1f, 0x1.4fd478p+4f, 0x1.ep+5f,      0x1.6de644p+1f, 0x1.2535eap+2f,
                    0x1.266666p+1f, 0x1.266666p+2f}},
        // Spacing comes out as exactly 2.125 only through the single-precision
        // stores between steps; plain double gives slightly more.
        GoldenCase{"SpacingTie",
                   room(10, 6, 2.125f, 3, 1, 90, 60),
                   {0x1.ep+5f,      0x1.2cp+6f,     0x1.815556p+1f, 0x1.3ee48ap+4f, 0x1.6aaaaap+0f,
                    0x1.1p+0f,      0x1.1p+1f,      0x1.68p+6f,     0x1.41d48ep+6f, 0x1.4dcfbp+6f,
                    0x1.2cp+6f,     0x1.68p+6f,     0x1.41d48ep+6f, 0x1.8p+0f,      0x1.59e9a6p+6f,
                    0x1.36ff3p+1f,  0x1.79cf06p+3f, 0x1.ep+5f,      0x1.453e76p+2f, 0x1.b7d0ep+1f,
                    0x1.b33334p+0f, 0x1.b33334p+1f}},
        // A negative length is not a fault: counts go negative, distances not.
        GoldenCase{"NegativeLength",
                   room(-10, 6, 3, 3, 1, 90, 60),
                   {-0x1.ep+5f,     0x1.2cp+6f,     0x1.8p+2f,      -0x1.4p+3f,      0x1.0p+1f,
                    0x1.8p+0f,      0x1.8p+1f,      0x1.68p+6f,     0x1.41d48ep+6f,  0x1.41d48ep+6f,
                    0x1.2cp+6f,     0x1.68p+6f,     0x1.41d48ep+6f, 0x1.8p+0f,       0x1.59e9a6p+6f,
                    0x1.36ff3p+1f,  0x1.79cf06p+3f, -0x1.ep+5f,     -0x1.453e76p+2f, 0x1.b7d0ep+1f,
                    0x1.b33334p+0f, 0x1.b33334p+1f}}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(Calculation, TangentOf45Radians) {
    EXPECT_EQ(std::tan(45.0), 1.6197751905438615);
}

TEST(Calculation, SubnormalIntermediateIsNoFault) {
    // r = 1e-20 makes K subnormal (no fault) and n_wall ~ 9e41: an overflow
    // when stored. K itself must have been stored without complaint.
    Расчетные_величины v;
    const auto fault = calculate(room(10, 6, 1e-20f, 3, 1, 90, 60), v);
    ASSERT_TRUE(fault.has_value());
    EXPECT_EQ(fault->step, 4);
    EXPECT_EQ(fault->kind, FaultKind::Overflow);
}

struct FaultCase {
    const char* name;
    Исходные_значения in;
    CalcFault expected;
};

class CalculationFault : public testing::TestWithParam<FaultCase> {};

TEST_P(CalculationFault, StopsAtTheStepAndLeavesTheRecord) {
    const auto& c = GetParam();
    Расчетные_величины v;
    v.P1 = 42; // what an earlier calculation left
    const Расчетные_величины before = v;
    testing_support::RecordingWindow window(OptionButton::Wall);
    const auto fault = calculateAndPresent(c.in, v, window, ".");
    ASSERT_TRUE(fault.has_value());
    EXPECT_EQ(window.m_calls, 0) << "a faulting calculation reached the window";
    EXPECT_EQ(*fault, c.expected) << "step " << fault->step << " kind "
                                  << static_cast<int>(fault->kind);
    EXPECT_EQ(v, before);
    EXPECT_FALSE(faultMessage(*fault).empty());
}

constexpr float kInf = std::numeric_limits<float>::infinity();

INSTANTIATE_TEST_SUITE_P(
    BadInputs, CalculationFault,
    testing::Values(
        // 0 / 0: the area is 0 as well as K.
        FaultCase{"EmptyWindow", Исходные_значения{}, {FaultKind::InvalidOperation, 4, {}}},
        FaultCase{"ZeroDistance", room(10, 6, 0, 3, 1, 90, 60), {FaultKind::DivisionByZero, 4, {}}},
        FaultCase{"TinyDistanceOverflows",
                  room(10, 6, 1e-20f, 3, 1, 90, 60),
                  {FaultKind::Overflow, 4, {}}},
        FaultCase{"TinierDistanceDividesByZero",
                  room(10, 6, 1e-25f, 3, 1, 90, 60),
                  {FaultKind::DivisionByZero, 4, {}}},
        FaultCase{"ZeroArea", room(0, 6, 3, 3, 1, 90, 60), {FaultKind::InvalidOperation, 5, {}}},
        FaultCase{"ZeroPower", room(10, 6, 3, 3, 0, 90, 60), {FaultKind::Domain, 8, {}}},
        FaultCase{"NegativePower", room(10, 6, 3, 3, -1, 90, 60), {FaultKind::Domain, 8, {}}},
        FaultCase{"NegativeDistance", room(10, 6, -3, 3, 1, 90, 60), {FaultKind::Domain, 10, {}}},
        FaultCase{"EarLevelCeiling", room(10, 6, 3, 1.5f, 1, 90, 60), {FaultKind::Domain, 15, {}}},
        FaultCase{"LowCeiling", room(10, 6, 3, 1, 1, 90, 60), {FaultKind::Domain, 15, {}}},
        FaultCase{"HugeArea", room(1e30f, 1e30f, 3, 3, 1, 90, 60), {FaultKind::Overflow, 1, {}}},
        FaultCase{"HugeCeiling", room(10, 6, 3, 1e30f, 1, 90, 60), {FaultKind::Overflow, 17, {}}},
        FaultCase{
            "InfiniteLength", room(kInf, 6, 3, 3, 1, 90, 60), {FaultKind::Overflow, 0, Input::L}},
        FaultCase{
            "InfiniteNoise", room(10, 6, 3, 3, 1, 90, -kInf), {FaultKind::Overflow, 0, Input::N}}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(FaultMessage, TellsWhichInputToCheck) {
    struct Case {
        CalcFault fault;
        const char* mentions;
    };
    const Case cases[] = {
        {{FaultKind::InvalidOperation, 4, {}}, // the empty window
         "Расстояние от оповещателя до слушателя должно быть больше 0"},
        {{FaultKind::InvalidOperation, 5, {}}, "Длина и ширина помещения не должны быть равны 0"},
        {{FaultKind::Domain, 8, {}}, "Мощность оповещателя должна быть больше 0"},
        {{FaultKind::Domain, 10, {}}, "должно быть больше 0"},
        {{FaultKind::Domain, 15, {}}, "Высота потолка должна быть больше 1,5 м"},
        {{FaultKind::Overflow, 0, Input::N}, "Уровень фонового шума в помещении, дБ"},
    };
    for (const auto& c : cases)
        EXPECT_NE(faultMessage(c.fault).find(c.mentions), std::string::npos)
            << faultMessage(c.fault);
}

} // namespace
} // namespace zulcalc
