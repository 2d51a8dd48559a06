#include "calc/presentation.h"

#include "calc/numbers.h"

#include <array>

namespace zulcalc {

namespace {

// Lines 2 to 5 shared by the rows of a kind.
struct WarningBody {
    std::string_view line2, line3, line4, line5;
};

constexpr std::string_view kLouder =
    "Возьмите другой оповещатель с более высокой чувствительностью или увеличте мощность "
    "оповещателя";
constexpr std::string_view kQuieter =
    "Возьмите другой оповещатель с более низкой чувствительностью или уменьшите мощность "
    "оповещателя";

constexpr WarningBody kThreeMetresHigh = {" Недопустимое значение уровня звука.",
                                          "Нарущение п.4.1 СП 3.13130-2009. ",
                                          "Уровень звука должен быть не более 120 дб", kQuieter};
constexpr WarningBody kThreeMetresLow = {
    " Недопустимое значение уровня звука на расстоянии 3 м. от оповещателя. ",
    "Нарущение п.4.1 СП 3.13130-2009. ", "Уровень звука должен быть не менее 75 дб", kLouder};
constexpr WarningBody kListenerHigh = {" Недопустимое значение уровня звука.",
                                       "Нарущение п.4.2 СП 3.13130-2009. ",
                                       "Уровень звука должен быть не более 120 дб", kQuieter};
constexpr WarningBody kListenerLow = {
    " Недопустимое значение уровня звука на расстоянии от оповещателя до слушателя.",
    " Нарущение п.4.2 СП 3.13130-2009. ",
    " Уровнь звука на расстоянии от оповещателя до слушателя должен быть не менее чем на 15 дБ "
    "выше уровня фонового шума помещения.",
    kLouder};

struct Level3m {
    Warning high, low;
};

class Presenter {
  public:
    Presenter(Окно_расчета& window, const std::string& separator)
        : m_window(window), m_separator(separator) {}

    void placement(float required, float count, float wallDistance, float spacing) {
        m_window.setText(ResultBox::RequiredLevel, formatNumber(required, 0, m_separator));
        m_window.setText(ResultBox::Count, formatNumber(count, 0, m_separator));
        m_window.setText(ResultBox::WallDistance, formatNumber(wallDistance, 2, m_separator));
        m_window.setText(ResultBox::Spacing, formatNumber(spacing, 2, m_separator));
    }

    void level3m(float x, Level3m rows) {
        if (x >= 75 && x <= 120) {
            verdict(ResultBox::LevelAt3m, x, kWhite);
            return;
        }
        m_window.warn(warningPrompt(x > 120 ? rows.high : rows.low), kWarningTitle);
        verdict(ResultBox::LevelAt3m, x, kRed);
    }

    void listenerPass(float level) { verdict(ResultBox::ListenerLevel, level, kWhite); }

    void listenerFail(float level, Warning warning) {
        m_window.warn(warningPrompt(warning), kWarningTitle);
        verdict(ResultBox::ListenerLevel, level, kRed);
    }

  private:
    void verdict(ResultBox box, float level, std::uint32_t colour) {
        m_window.setText(box, formatNumber(level, 0, m_separator));
        m_window.setBackColor(box, colour);
    }

    Окно_расчета& m_window;
    const std::string& m_separator;
};

} // namespace

std::string warningPrompt(Warning warning) {
    struct Row {
        std::string_view first;
        const WarningBody& body;
    };
    // In the order of the Warning enumerators.
    static const std::array<Row, 8> rows = {{
        {"Ошибка в расчете! (P1)", kThreeMetresHigh},
        {"Ошибка в расчете! (P1 < 75)", kThreeMetresLow},
        {"Ошибка в расчете! (P1a)", kThreeMetresHigh},
        {"Ошибка в расчете! (P1a < 75)", kThreeMetresLow},
        {"Ошибка в расчете! (P3 < Sшум)", kListenerLow},
        {"Ошибка в расчете! (P3)", kListenerHigh},
        {"Ошибка в расчете! (P3a)", kListenerHigh},
        {"Ошибка в расчете! (P3a < Sшум)", kListenerLow},
    }};
    const Row& row = rows[static_cast<std::size_t>(warning)];
    std::string prompt(row.first);
    for (std::string_view line : {row.body.line2, row.body.line3, row.body.line4, row.body.line5})
        (prompt += '\r') += line;
    return prompt;
}

void present(const Расчетные_величины& v, Окно_расчета& window,
             const std::string& decimalSeparator) {
    Presenter p(window, decimalSeparator);

    if (window.isSelected(OptionButton::Wall))
        p.placement(v.Sтреб_wall, v.n_wall, v.gap_wall, v.spacing_wall);
    else
        p.level3m(v.P1, {Warning::P1High, Warning::P1Low});

    // The listener at distance r: the low test comes before the high one.
    if (v.P3 <= 120 && v.P3 >= v.Sтреб_wall)
        p.listenerPass(v.P3);
    else if (v.P3 < v.Sтреб_wall)
        p.listenerFail(v.P3, Warning::P3Low);
    else
        p.listenerFail(v.P3, Warning::P3High);

    p.level3m(v.P1a, {Warning::P1aHigh, Warning::P1aLow});

    if (window.isSelected(OptionButton::Ceiling)) {
        p.placement(v.Sтреб_ceil, v.n_ceil, v.gap_ceil, v.spacing_ceil);
        return;
    }
    // Under a ceiling speaker the high test comes first, so with N > 105 a
    // loud speaker is reported as too loud rather than too quiet.
    if (v.P3a <= 120 && v.P3a >= v.Sтреб_ceil)
        p.listenerPass(v.P3a);
    else if (v.P3a > 120)
        p.listenerFail(v.P3a, Warning::P3aHigh);
    else
        p.listenerFail(v.P3a, Warning::P3aLow);
}

std::optional<CalcFault> calculateAndPresent(const Исходные_значения& inputs,
                                             Расчетные_величины& results, Окно_расчета& window,
                                             const std::string& decimalSeparator) {
    if (auto fault = calculate(inputs, results))
        return fault;
    present(results, window, decimalSeparator);
    return std::nullopt;
}

} // namespace zulcalc
