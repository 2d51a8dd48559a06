#pragma once

#include "calc/inputs.h"

#include <optional>
#include <string>
#include <vector>

namespace zulcalc {

// Every quantity of one calculation, in the order the steps compute them
// (step n fills the n-th field). Stored in single precision: each step reads
// the rounded values of the earlier ones, and the shown results depend on
// that rounding (spacing_wall is exactly r only because of it).
struct Расчетные_величины {
    float A = 0;            // 1: room area, m²
    float Sтреб_wall = 0;   // 2: required level at the listener, dB
    float K = 0;            // 3: floor area per wall speaker, m²
    float n_wall = 0;       // 4: number of wall speakers
    float d = 0;            // 5: intermediate length, m
    float gap_wall = 0;     // 6: wall speaker to wall, m
    float spacing_wall = 0; // 7: between wall speakers, m
    float L1 = 0;           // 8: level at 1 m, dB
    float P1 = 0;           // 9: level at 3 m, dB
    float P3 = 0;           // 10: level at the listener at distance r, dB
    float Sтреб_ceil = 0;   // 11: required level at the listener, dB
    float L1a = 0;          // 12: level at 1 m (second copy), dB
    float P1a = 0;          // 13: level at 3 m (second copy), dB
    float h = 0;            // 14: ceiling speaker above the listener's ear, m
    float P3a = 0;          // 15: level at the listener under a ceiling speaker, dB
    float R = 0;            // 16: radius of the area a ceiling speaker covers, m
    float C = 0;            // 17: floor area per ceiling speaker, m²
    float A2 = 0;           // 18: room area (second copy), m²
    float n_ceil = 0;       // 19: number of ceiling speakers
    float s = 0;            // 20: ceiling speaker spacing before rounding, m
    float gap_ceil = 0;     // 21: ceiling speaker to wall, m
    float spacing_ceil = 0; // 22: between ceiling speakers, m

    bool operator==(const Расчетные_величины&) const = default;
};

enum class FaultKind {
    InvalidOperation, // 0 / 0 and the like
    DivisionByZero,
    Overflow, // beyond the single-precision range when stored
    Domain,   // logarithm of a value <= 0, square root of a negative
};

struct CalcFault {
    FaultKind kind = FaultKind::InvalidOperation;
    // 1..22: the step that faulted; 0: an input was unusable before step 1.
    int step = 0;
    std::optional<Input> input; // set when step == 0

    bool operator==(const CalcFault&) const = default;
};

// Runs the 22 steps in order. On success fills `out` and returns nothing;
// on the first fault returns it and leaves `out` untouched.
std::optional<CalcFault> calculate(const Исходные_значения& in, Расчетные_величины& out);

// A fault told to the user, in Russian: `text` says which value to fill in,
// check or change; `details` says what went wrong where, for whoever wants
// to know (the message box's details section).
struct FaultMessage {
    std::string text;
    std::string details;
};

// `unfilled`: the inputs whose boxes are empty or hold no number. When the
// fault comes from one of them, the message asks for all of them by caption.
FaultMessage faultMessage(const CalcFault& fault, const std::vector<Input>& unfilled = {});

} // namespace zulcalc
