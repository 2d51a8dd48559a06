#pragma once

#include "calc/presentation.h"

#include <charconv>
#include <fstream>
#include <iterator>
#include <map>
#include <ostream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace zulcalc::testing_support {

// One row of a table kept beside the tests (tests/calc/*.tsv): fields split
// at blanks, the first one names the row. Lines starting with '#' are notes.
struct Row {
    std::vector<std::string> fields;
    const std::string& operator[](std::size_t i) const { return fields.at(i); }
};

// A failing case names itself by its row's name, not by a dump of bytes.
inline void PrintTo(const Row& row, std::ostream* out) {
    *out << row[0];
}

inline std::vector<Row> readTable(const std::string& name) {
    std::ifstream file(std::string(ZULCALC_TEST_DATA) + "/" + name);
    std::vector<Row> rows;
    for (std::string line; std::getline(file, line);) {
        std::istringstream fields(line);
        Row row{{std::istream_iterator<std::string>(fields), {}}};
        if (!row.fields.empty() && row[0][0] != '#')
            rows.push_back(row);
    }
    if (rows.empty())
        throw std::runtime_error("no rows in " + name);
    return rows;
}

// A number of a table: decimal, "inf", or a hexadecimal float (0x1.8p+1)
// for values that must come out bit for bit.
inline float number(std::string text) {
    const bool negative = text[0] == '-';
    if (negative)
        text.erase(0, 1);
    const bool hex = text.rfind("0x", 0) == 0;
    float value = 0;
    const char* first = text.data() + (hex ? 2 : 0);
    const auto res = std::from_chars(first, text.data() + text.size(), value,
                                     hex ? std::chars_format::hex : std::chars_format::general);
    if (res.ptr != text.data() + text.size())
        throw std::runtime_error("not a number: " + text);
    return negative ? -value : value;
}

// Seven fields from `first` on, in the order a designer reads the data
// sheet: length, width, distance to the listener, ceiling height, power,
// sensitivity, noise.
inline Исходные_значения room(const Row& row, std::size_t first = 1) {
    Исходные_значения in;
    float* order[] = {&in.L, &in.W, &in.r, &in.H, &in.P, &in.S, &in.N};
    for (float* value : order)
        *value = number(row[first++]);
    return in;
}

inline Warning warningNamed(const std::string& name) {
    static const std::map<std::string, Warning> names = {
        {"P1High", Warning::P1High},   {"P1Low", Warning::P1Low},   {"P1aHigh", Warning::P1aHigh},
        {"P1aLow", Warning::P1aLow},   {"P3Low", Warning::P3Low},   {"P3High", Warning::P3High},
        {"P3aHigh", Warning::P3aHigh}, {"P3aLow", Warning::P3aLow},
    };
    return names.at(name);
}

// Records what the calculation does to the window, in order.
class RecordingWindow : public Окно_расчета {
  public:
    explicit RecordingWindow(OptionButton selected) : m_selected(selected) {}

    bool isSelected(OptionButton option) const override { return option == m_selected; }

    void setText(ResultBox box, const std::string& text) override {
        m_texts[box] = text;
        m_history[box].push_back(text);
        ++m_calls;
    }

    void setBackColor(ResultBox box, std::uint32_t bgr) override {
        m_colours[box] = bgr;
        ++m_calls;
    }

    void warn(const std::string& prompt, std::string_view title) override {
        for (int w = 0; w <= static_cast<int>(Warning::P3aLow); ++w)
            if (warningPrompt(static_cast<Warning>(w)) == prompt)
                m_warnings.push_back(static_cast<Warning>(w));
        m_titles.emplace_back(title);
        ++m_calls;
    }

    OptionButton m_selected;
    std::map<ResultBox, std::string> m_texts;
    std::map<ResultBox, std::vector<std::string>> m_history;
    std::map<ResultBox, std::uint32_t> m_colours;
    std::vector<Warning> m_warnings;
    std::vector<std::string> m_titles;
    int m_calls = 0;
};

} // namespace zulcalc::testing_support
