#pragma once

#include "calc/inputs.h"
#include "calc/numbers.h"
#include "calc/presentation.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <ostream>
#include <regex>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace zulcalc::testing_support {

// One row of a table kept beside the tests: the first field names the row.
struct Row {
    std::vector<std::string> fields;
    const std::string& operator[](std::size_t i) const { return fields.at(i); }
};

// A failing case names itself by its row's name, not by a dump of bytes.
inline void PrintTo(const Row& row, std::ostream* out) {
    *out << row[0];
}

// Names a parameterised case by its row.
struct RowName {
    template <class Info> std::string operator()(const Info& info) const { return info.param[0]; }
};

// tests/<name>, or the same under $ZULCALC_TEST_DATA where the suites run
// from a copy (tools/test.sh's rerun as a user who cannot enter the clone).
inline std::string testData(const std::string& name) {
    const char* copy = std::getenv("ZULCALC_TEST_DATA");
    return (copy && *copy ? copy : ZULCALC_TEST_DATA) + ("/" + name);
}

// Rows of tests/<name>; lines starting with '#' are notes. Fields are split
// at blanks, or with `texts` at tabs only, so that a text keeps its spaces.
inline std::vector<Row> readTable(const std::string& name, bool texts = false) {
    std::ifstream file(testData(name));
    std::vector<Row> rows;
    for (std::string line; std::getline(file, line);) {
        std::istringstream in(line);
        Row row;
        if (!texts)
            row.fields.assign(std::istream_iterator<std::string>(in), {});
        for (std::string field; texts && std::getline(in, field, '\t');)
            if (!field.empty())
                row.fields.push_back(field);
        if (!row.fields.empty() && row[0][0] != '#')
            rows.push_back(row);
    }
    if (rows.empty())
        throw std::runtime_error("no rows in " + name);
    return rows;
}

// A number of a table: decimal, "inf", or a hexadecimal float (0x1.8p+1)
// for values that must come out bit for bit.
template <class Number = float> Number number(std::string text) {
    auto format = std::chars_format::general;
    if (const auto hex = text.find("0x"); hex != std::string::npos) {
        text.erase(hex, 2); // from_chars reads hexadecimal without its prefix
        format = std::chars_format::hex;
    }
    Number value = 0;
    if (std::from_chars(text.data(), text.data() + text.size(), value, format).ptr !=
        text.data() + text.size())
        throw std::runtime_error("not a number: " + text);
    return value;
}

inline std::uint32_t bits(float value) {
    return std::bit_cast<std::uint32_t>(value);
}

// What is wrong with how a box reads `input`, or null: whatever follows the
// first comma must not count, nor must blanks, and a plain decimal number
// must read as the C library reads it (correctly rounded to double; the
// process keeps the C locale), then rounded once more to single precision.
inline const char* readingFault(const std::string& input) {
    const std::string text = input.substr(0, input.find(','));
    std::string compact = text;
    std::erase_if(compact, [](char c) { return c == ' ' || c == '\t' || c == '\n'; });
    const float value = parseNumber(input);
    if (bits(value) != bits(parseNumber(text)))
        return "something after the comma was read";
    if (bits(value) != bits(parseNumber(compact)))
        return "a blank changed the value";
    static const std::regex plain(R"([+-]?(\d+\.?\d*|\.\d+)([eEdD][+-]?\d+)?)");
    std::replace(compact.begin(), compact.end(), 'd', 'e');
    std::replace(compact.begin(), compact.end(), 'D', 'e');
    if (std::regex_match(compact, plain) &&
        bits(value) != bits(toSingle(std::strtod(compact.c_str(), nullptr))))
        return "a plain decimal read otherwise than by the C library";
    return nullptr;
}

// The inputs in the order a designer reads the data sheet: length, width,
// distance to the listener, ceiling height, power, sensitivity, noise.
inline constexpr Input kDataSheet[] = {Input::L, Input::W, Input::r, Input::H,
                                       Input::P, Input::S, Input::N};

// Seven fields from `first` on, in the data sheet's order.
inline Исходные_значения room(const Row& row, std::size_t first = 1) {
    Исходные_значения in;
    for (Input input : kDataSheet)
        valueOf(in, input) = number(row[first++]);
    return in;
}

// Records what the calculation does to the window, in order.
class RecordingWindow : public Окно_расчета {
  public:
    explicit RecordingWindow(OptionButton selected) : m_selected(selected) {}

    bool isSelected(OptionButton option) const override { return option == m_selected; }

    void setText(ResultBox box, const std::string& text) override {
        m_texts[box].push_back(text);
        ++m_calls;
    }

    void setBackColor(ResultBox box, std::uint32_t bgr) override {
        m_colours[box] = bgr;
        ++m_calls;
    }

    // Only a prompt of the table under the program's own title is recorded,
    // by the name of its Warning.
    void warn(const std::string& prompt, std::string_view title) override {
        const char* names[] = {"P1High", "P1Low",  "P1aHigh", "P1aLow",
                               "P3Low",  "P3High", "P3aHigh", "P3aLow"};
        for (std::size_t w = 0; w < std::size(names) && title == kWarningTitle; ++w)
            if (warningPrompt(static_cast<Warning>(w)) == prompt)
                m_warnings.push_back(names[w]);
        m_firstLines.push_back(prompt.substr(0, prompt.find('\r')));
        ++m_calls;
    }

    OptionButton m_selected;
    std::map<ResultBox, std::vector<std::string>> m_texts; // every text in turn
    std::map<ResultBox, std::uint32_t> m_colours;
    std::vector<std::string> m_warnings;
    std::vector<std::string> m_firstLines; // of every warning, as the user reads them
    int m_calls = 0;
};

} // namespace zulcalc::testing_support
