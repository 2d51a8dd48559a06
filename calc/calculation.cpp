#include "calc/calculation.h"

#include "calc/numbers.h"

#include <array>
#include <cmath>
#include <initializer_list>

namespace zulcalc {

namespace {

constexpr double wide(float value) {
    return static_cast<double>(value);
}

// Runs one step at a time: the expression is evaluated in double precision
// through the checked operations below, then stored in single precision.
// Faults are found by looking at the operands, not at the floating-point
// status flags, so an optimising compiler cannot move or drop the check.
class Steps {
  public:
    template <class Expression> bool step(int number, float& into, Expression expression) {
        m_step = number;
        const double value = expression();
        if (m_fault)
            return false;
        if (std::isnan(value))
            return fail(FaultKind::InvalidOperation);
        if (std::isinf(value) || overflowsSingle(value))
            return fail(FaultKind::Overflow);
        into = toSingle(value);
        return true;
    }

    // The operands are always finite: the inputs are checked before step 1
    // and every stored value is finite, so only a zero divisor can fault.
    double div(double dividend, double divisor) {
        if (divisor == 0) {
            fail(dividend == 0 ? FaultKind::InvalidOperation : FaultKind::DivisionByZero);
            return 0;
        }
        return dividend / divisor;
    }

    double ln(double x) {
        if (!(x > 0)) {
            fail(FaultKind::Domain);
            return 0;
        }
        return std::log(x);
    }

    double root(double x) {
        if (!(x >= 0)) {
            fail(FaultKind::Domain);
            return 0;
        }
        return std::sqrt(x);
    }

    const std::optional<CalcFault>& fault() const { return m_fault; }

  private:
    bool fail(FaultKind kind) {
        if (!m_fault)
            m_fault = CalcFault{kind, m_step, std::nullopt};
        return false;
    }

    int m_step = 0;
    std::optional<CalcFault> m_fault;
};

// An infinite input (typed as 1e39, say) would otherwise run into ∞ / ∞ some
// steps later, or sail through as an infinite level; stop before step 1.
std::optional<CalcFault> checkInputs(const Исходные_значения& in) {
    for (Input input : kAllInputs) {
        const float value = valueOf(in, input);
        if (std::isinf(value))
            return CalcFault{FaultKind::Overflow, 0, input};
        if (std::isnan(value))
            return CalcFault{FaultKind::InvalidOperation, 0, input};
    }
    return std::nullopt;
}

} // namespace

std::optional<CalcFault> calculate(const Исходные_значения& in, Расчетные_величины& out) {
    if (auto fault = checkInputs(in))
        return fault;

    const double H = wide(in.H), W = wide(in.W), L = wide(in.L), S = wide(in.S), P = wide(in.P),
                 N = wide(in.N), r = wide(in.r);
    Расчетные_величины v;
    Steps x;
    // Each formula is written in the order the program has always evaluated
    // it: the decimal logarithm as ln a / ln 10 with both logarithms taken
    // separately, and R² by pow(R, 2.0).
    const bool ok =
        x.step(1, v.A, [&] { return L * W; }) &&
        x.step(2, v.Sтреб_wall, [&] { return N + 15.0; }) &&
        x.step(3, v.K, [&] { return x.div(r, 1.5) * r; }) &&
        x.step(4, v.n_wall, [&] { return x.div(wide(v.A), wide(v.K)); }) &&
        x.step(5, v.d, [&] { return x.root(x.div(x.div(wide(v.A), wide(v.n_wall)), 1.5)); }) &&
        x.step(6, v.gap_wall, [&] { return wide(v.d) * 0.75; }) &&
        x.step(7, v.spacing_wall, [&] { return wide(v.d) * 1.5; }) &&
        x.step(8, v.L1, [&] { return x.div(10.0 * x.ln(P), x.ln(10.0)) + S; }) &&
        x.step(9, v.P1, [&] { return wide(v.L1) - x.div(20.0 * x.ln(3.0), x.ln(10.0)); }) &&
        x.step(10, v.P3, [&] { return wide(v.L1) - x.div(20.0 * x.ln(r), x.ln(10.0)); }) &&
        x.step(11, v.Sтреб_ceil, [&] { return N + 15.0; }) &&
        x.step(12, v.L1a, [&] { return x.div(10.0 * x.ln(P), x.ln(10.0)) + S; }) &&
        x.step(13, v.P1a, [&] { return wide(v.L1a) - x.div(x.ln(3.0), x.ln(10.0)) * 20.0; }) &&
        x.step(14, v.h, [&] { return H - 1.5; }) &&
        x.step(15, v.P3a,
               [&] { return wide(v.L1a) - x.div(20.0 * x.ln(wide(v.h)), x.ln(10.0)); }) &&
        // 45 radians, not degrees: tan 45 = 1.6197751905438615. The program
        // has always used this factor and its ceiling layouts rest on it.
        x.step(16, v.R, [&] { return wide(v.h) * std::tan(45.0); }) &&
        x.step(17, v.C, [&] { return 2.0 * std::pow(wide(v.R), 2.0); }) &&
        x.step(18, v.A2, [&] { return L * W; }) &&
        x.step(19, v.n_ceil, [&] { return x.div(wide(v.A2), wide(v.C)); }) &&
        x.step(20, v.s, [&] { return x.root(x.div(wide(v.A2), wide(v.n_ceil))); }) &&
        // Step 21 rounds the double product, step 22 the stored single s.
        x.step(21, v.gap_ceil, [&] { return roundToOneDecimal(wide(v.s) * 0.5); }) &&
        x.step(22, v.spacing_ceil, [&] { return roundToOneDecimal(wide(v.s)); });
    if (!ok)
        return x.fault();
    out = v;
    return std::nullopt;
}

namespace {

std::string kindText(FaultKind kind) {
    switch (kind) {
    case FaultKind::InvalidOperation:
        return "недопустимая операция (0 / 0)";
    case FaultKind::DivisionByZero:
        return "деление на ноль";
    case FaultKind::Overflow:
        return "переполнение (число слишком велико)";
    case FaultKind::Domain:
        break;
    }
    return "логарифм или квадратный корень от недопустимого числа";
}

constexpr unsigned mask(std::initializer_list<Input> inputs) {
    unsigned bits = 0;
    for (Input input : inputs)
        bits |= 1u << static_cast<unsigned>(input);
    return bits;
}

constexpr unsigned kRoom = mask({Input::L, Input::W});
constexpr unsigned kWall = mask({Input::L, Input::W, Input::r});
constexpr unsigned kSpeaker = mask({Input::P, Input::S});
constexpr unsigned kCeiling = mask({Input::L, Input::W, Input::H});

constexpr const char* kDistance = "Расстояние от оповещателя до слушателя должно быть больше 0.";
constexpr const char* kCheckDistance = "Проверьте расстояние от оповещателя до слушателя.";
constexpr const char* kCheckSpeaker = "Проверьте мощность и чувствительность оповещателя.";
constexpr const char* kCeilingTooHigh = "Уменьшите высоту потолка: она слишком велика.";
constexpr const char* kCheckCeiling = "Проверьте высоту потолка, длину и ширину помещения.";
constexpr const char* kRoomTooLarge =
    "Проверьте длину и ширину помещения: их произведение слишком велико.";
constexpr const char* kCheckNoise = "Проверьте уровень фонового шума в помещении.";
constexpr const char* kNoPower = "Мощность оповещателя должна быть больше 0.";
constexpr const char* kEarLevel = "Высота потолка должна быть больше 1,5 м.";

// Per step: what it computes, which inputs it rests on, and what the user
// should check when it faults, or when it overflows if that asks for
// another thing.
struct StepInfo {
    const char* quantity;
    unsigned inputs;
    const char* check;
    const char* checkOnOverflow = nullptr;
};

constexpr std::array<StepInfo, 23> kStepInfo = {{
    {"", 0, ""},
    {"площадь помещения", kRoom, kRoomTooLarge},
    {"требуемый уровень звука", mask({Input::N}), kCheckNoise},
    {"площадь на один настенный оповещатель", mask({Input::r}),
     "Уменьшите расстояние от оповещателя до слушателя: оно слишком велико."},
    {"количество настенных оповещателей", kWall, kDistance,
     "Расстояние от оповещателя до слушателя слишком мало для такой площади помещения."},
    {"промежуточная длина", kWall, "Длина и ширина помещения не должны быть равны 0."},
    {"расстояние от оповещателя до стены", kWall, kCheckDistance},
    {"расстояние между оповещателями", kWall, kCheckDistance},
    {"уровень звука на расстоянии 1 м", kSpeaker, kNoPower},
    {"уровень звука на расстоянии 3 м", kSpeaker, kCheckSpeaker},
    {"уровень звука в точке стояния слушателя", kSpeaker | mask({Input::r}), kDistance},
    {"требуемый уровень звука", mask({Input::N}), kCheckNoise},
    {"уровень звука на расстоянии 1 м", kSpeaker, kNoPower},
    {"уровень звука на расстоянии 3 м", kSpeaker, kCheckSpeaker},
    {"высота оповещателя над слушателем", mask({Input::H}), kEarLevel},
    {"уровень звука под потолочным оповещателем", kSpeaker | mask({Input::H}), kEarLevel},
    {"радиус зоны потолочного оповещателя", mask({Input::H}), kCeilingTooHigh},
    {"площадь на один потолочный оповещатель", mask({Input::H}), kCeilingTooHigh},
    {"площадь помещения", kRoom, kRoomTooLarge},
    {"количество потолочных оповещателей", kCeiling, kCheckCeiling},
    {"расстояние между потолочными оповещателями", kCeiling, kCheckCeiling},
    {"расстояние от оповещателя до стены", kCeiling, kCheckCeiling},
    {"расстояние между оповещателями", kCeiling, kCheckCeiling},
}};

std::string trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    const auto last = text.find_last_not_of(' ');
    return first == std::string_view::npos ? "" : std::string(text.substr(first, last - first + 1));
}

} // namespace

FaultMessage faultMessage(const CalcFault& fault, const std::vector<Input>& unfilled) {
    if (fault.input) {
        const std::string caption = trimmed(inputCaption(*fault.input));
        return {"Значение «" + caption +
                    "» слишком велико: введите число меньше 3,4E+38 по модулю.",
                "Переполнение: значение «" + caption + "» вне диапазона чисел одинарной точности."};
    }
    const auto index = static_cast<std::size_t>(fault.step);
    const StepInfo& step = index < kStepInfo.size() ? kStepInfo[index] : kStepInfo[0];
    const std::string details = "Ошибка вычислений: " + kindText(fault.kind) +
                                " при вычислении величины «" + step.quantity + "» (шаг " +
                                std::to_string(fault.step) + ").";

    bool fromUnfilled = false;
    std::string boxes;
    for (Input input : unfilled) {
        fromUnfilled = fromUnfilled || (step.inputs & mask({input})) != 0;
        boxes += (boxes.empty() ? "" : "; ") + trimmed(inputCaption(input));
    }
    if (fromUnfilled)
        return {"Не все исходные данные введены числами.\nЗаполните: " + boxes, details};
    const bool overflow = fault.kind == FaultKind::Overflow && step.checkOnOverflow;
    return {overflow ? step.checkOnOverflow : step.check, details};
}

} // namespace zulcalc
