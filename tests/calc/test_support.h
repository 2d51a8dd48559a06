#pragma once

#include "calc/presentation.h"

#include <map>
#include <string>
#include <vector>

namespace zulcalc::testing_support {

// A room in the order a designer reads the data sheet: length, width,
// distance to the listener, ceiling height, power, sensitivity, noise.
inline Исходные_значения room(float L, float W, float r, float H, float P, float S, float N) {
    Исходные_значения in;
    in.L = L, in.W = W, in.r = r, in.H = H, in.P = P, in.S = S, in.N = N;
    return in;
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
