#pragma once

#include <array>
#include <optional>
#include <string_view>

namespace zulcalc {

// The seven numbers the calculation works on, each in single precision as it
// is stored after parsing. Units: metres for H, W, L and r, dB for S and N,
// watts for P.
struct Исходные_значения {
    float H = 0; // ceiling height
    float W = 0; // room width
    float L = 0; // room length
    float S = 0; // speaker sensitivity from its data sheet
    float P = 0; // speaker power from its data sheet
    float N = 0; // background noise of the room
    float r = 0; // distance from speaker to listener
};

enum class Input { H, W, L, S, P, N, r };

inline constexpr std::array<Input, 7> kAllInputs = {Input::H, Input::W, Input::L, Input::S,
                                                    Input::P, Input::N, Input::r};

// The text box that feeds each input, and the caption of the label beside
// it as the user sees it; in the order of Input. Every layer takes these two
// from here: the window builds its controls with them, the report reads the
// boxes by them, and a fault message asks for a box by its caption.
struct InputBox {
    std::string_view name;
    std::string_view caption;
};

inline constexpr std::array<InputBox, 7> kInputBoxes = {{
    {"txtЗначение_Высота", "Высота потолка, м."},
    {"txtЗначение_Ширина", "Ширина помещения, м."},
    {"txtЗначение_Длина", "Длина помещения, м"},
    {"txtЗначение_Чувствительность", "Чувствительность оповещателя (по паспорту), дБ"},
    {"txtЗначение_Мощность", "Мощность оповещателя (по паспорту), Вт"},
    {"txtЗначение_Уровень", "Уровень фонового шума в помещении, дБ "},
    {"txtЗначение_расстояния_оповещатель_слушатель", "Расстояние от оповещателя до слушателя, м"},
}};

constexpr std::string_view inputBoxName(Input input) {
    return kInputBoxes[static_cast<std::size_t>(input)].name;
}
constexpr std::string_view inputCaption(Input input) {
    return kInputBoxes[static_cast<std::size_t>(input)].caption;
}
std::optional<Input> inputForBox(std::string_view boxName);

float& valueOf(Исходные_значения& values, Input input);
float valueOf(const Исходные_значения& values, Input input);

// Reads a number the way the input boxes always have, whatever the locale:
// blanks anywhere are dropped, a full stop is the only decimal point, reading
// stops at the first character that cannot continue the number, and a text
// with no digits is 0. "&H"/"&O" introduce hexadecimal/octal integers.
// The result is rounded once to single precision; beyond its range it becomes
// an infinity of its sign.
float parseNumber(std::string_view text);

// Whether the text has a number in it at all: at least one digit is read.
// An empty box, blanks alone or a lone sign read as 0 but hold no number.
bool holdsNumber(std::string_view text);

// What the reading leaves out: from the first character that cannot continue
// the number (the first of all, where no digit is read) to the end, without
// blanks at either end; empty where the whole text is read.
std::string_view unreadPart(std::string_view text);

// Keeps the record in step with a box: to be called on every text change of
// any box; boxes that feed no input are ignored.
void onTextChanged(Исходные_значения& values, std::string_view boxName, std::string_view text);

} // namespace zulcalc
