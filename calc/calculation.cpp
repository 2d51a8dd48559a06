#include "calc/calculation.h"

#include "calc/numbers.h"

#include <array>
#include <cmath>

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

    double div(double dividend, double divisor) {
        if (divisor == 0 || (std::isinf(dividend) && std::isinf(divisor))) {
            const bool invalid = dividend == 0 || std::isnan(dividend) || std::isinf(divisor);
            fail(invalid ? FaultKind::InvalidOperation : FaultKind::DivisionByZero);
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

constexpr std::array<const char*, 23> kStepNames = {
    "",
    "площадь помещения",
    "требуемый уровень звука",
    "площадь на один настенный оповещатель",
    "количество настенных оповещателей",
    "промежуточная длина",
    "расстояние от оповещателя до стены",
    "расстояние между оповещателями",
    "уровень звука на расстоянии 1 м",
    "уровень звука на расстоянии 3 м",
    "уровень звука в точке стояния слушателя",
    "требуемый уровень звука",
    "уровень звука на расстоянии 1 м",
    "уровень звука на расстоянии 3 м",
    "высота оповещателя над слушателем",
    "уровень звука под потолочным оповещателем",
    "радиус зоны потолочного оповещателя",
    "площадь на один потолочный оповещатель",
    "площадь помещения",
    "количество потолочных оповещателей",
    "расстояние между потолочными оповещателями",
    "расстояние от оповещателя до стены",
    "расстояние между оповещателями",
};

const char* const kCheckDistance = "Расстояние от оповещателя до слушателя должно быть больше 0.";
const char* const kCheckRoom = "Проверьте длину и ширину помещения.";
const char* const kCheckSpeaker = "Проверьте мощность и чувствительность оповещателя.";
const char* const kCheckCeiling = "Проверьте высоту потолка, длину и ширину помещения.";

std::string hint(const CalcFault& fault) {
    const bool tooLarge = fault.kind == FaultKind::Overflow;
    switch (fault.step) {
    case 1:
    case 18:
        return "Произведение длины и ширины помещения слишком велико.";
    case 2:
    case 11:
        return "Проверьте уровень фонового шума.";
    case 3:
    case 6:
    case 7:
        return "Проверьте расстояние от оповещателя до слушателя.";
    case 4:
        return tooLarge ? "Расстояние от оповещателя до слушателя слишком мало для такой "
                          "площади помещения."
                        : kCheckDistance;
    case 5:
        return "Длина и ширина помещения не должны быть равны 0.";
    case 8:
    case 12:
        return fault.kind == FaultKind::Domain ? "Мощность оповещателя должна быть больше 0."
                                               : kCheckSpeaker;
    case 9:
    case 13:
        return kCheckSpeaker;
    case 10:
        return kCheckDistance;
    case 14:
    case 15:
        return "Высота потолка должна быть больше 1,5 м.";
    case 16:
    case 17:
        return "Высота потолка слишком велика.";
    default:
        return fault.step >= 19 ? kCheckCeiling : kCheckRoom;
    }
}

} // namespace

std::string faultMessage(const CalcFault& fault) {
    if (fault.step == 0 && fault.input) {
        return "Расчет невозможен: значение «" + std::string(inputCaption(*fault.input)) +
               "» вне допустимого диапазона чисел.\nВведите число меньше 3,4E+38 по модулю.";
    }
    const auto index = static_cast<std::size_t>(fault.step);
    const std::string quantity = index < kStepNames.size() ? kStepNames[index] : "";
    return "Расчет невозможен: " + kindText(fault.kind) + " при вычислении величины «" + quantity +
           "» (шаг " + std::to_string(fault.step) + ").\n" + hint(fault);
}

} // namespace zulcalc
