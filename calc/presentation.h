#pragma once

#include "calc/calculation.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace zulcalc {

enum class OptionButton { Wall, Ceiling };

enum class ResultBox {
    RequiredLevel, // txtЗначение_требуемого_уровня_в_точке
    LevelAt3m,     // txtЗначение_звука_на_3_м
    ListenerLevel, // txtЗначение_уровня_звука_в_расчетной_точке
    Count,         // txtЗначение_колличества_оповещателей
    WallDistance,  // txtЗначение_расстояния_до_стены
    Spacing,       // txtЗначение_расстояния_между_оповещателями
};

std::string_view optionName(OptionButton option);
std::string_view resultBoxName(ResultBox box);

// Colours as the window takes them: 24 bits, blue-green-red.
inline constexpr std::uint32_t kWhite = 16777215;
inline constexpr std::uint32_t kRed = 255;

inline constexpr std::string_view kWarningTitle = "Ошибка вычислений!";

// The only way the calculation acts on the window, so that it runs without
// any particular window system (and under test with a recording fake).
class Окно_расчета {
  public:
    virtual ~Окно_расчета() = default;
    virtual bool isSelected(OptionButton option) const = 0;
    virtual void setText(ResultBox box, const std::string& text) = 0;
    virtual void setBackColor(ResultBox box, std::uint32_t bgr) = 0;
    // Modal: returns once the user has dismissed the warning. Lines of the
    // prompt are separated by a single carriage return.
    virtual void warn(const std::string& prompt, std::string_view title) = 0;
};

enum class Warning { P1High, P1Low, P1aHigh, P1aLow, P3Low, P3High, P3aHigh, P3aLow };

// The five lines of a warning joined by carriage returns.
std::string warningPrompt(Warning warning);

// Judges the levels and fills the result boxes: wall placement or the first
// 3 m check, the level at distance r, the second 3 m check, then ceiling
// placement or the level under a ceiling speaker. Later blocks overwrite
// earlier ones in the same box. `decimalSeparator` is the user's locale's.
void present(const Расчетные_величины& values, Окно_расчета& window,
             const std::string& decimalSeparator);

// One press of the Calculate button: calculate into `results`, then present
// them. A fault is returned before anything reaches the window, and leaves
// `results` as it was.
std::optional<CalcFault> calculateAndPresent(const Исходные_значения& inputs,
                                             Расчетные_величины& results, Окно_расчета& window,
                                             const std::string& decimalSeparator);

} // namespace zulcalc
