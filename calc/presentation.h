#pragma once

#include "calc/calculation.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace zulcalc {

enum class OptionButton { Wall, Ceiling };

enum class ResultBox { RequiredLevel, LevelAt3m, ListenerLevel, Count, WallDistance, Spacing };

// The controls' names, which the window is built with and looked up by.
constexpr std::string_view optionName(OptionButton option) {
    return option == OptionButton::Wall ? "OptНастенный" : "OptПотолочный";
}

inline constexpr std::array<std::string_view, 6> kResultBoxes = {
    "txtЗначение_требуемого_уровня_в_точке",
    "txtЗначение_звука_на_3_м",
    "txtЗначение_уровня_звука_в_расчетной_точке",
    "txtЗначение_колличества_оповещателей",
    "txtЗначение_расстояния_до_стены",
    "txtЗначение_расстояния_между_оповещателями",
};

constexpr std::string_view resultBoxName(ResultBox box) {
    return kResultBoxes[static_cast<std::size_t>(box)];
}

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
