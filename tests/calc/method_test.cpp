#include "calc/presentation.h"

#include "tests/calc/test_support.h"

#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cctype>

namespace zulcalc {
namespace {

using namespace testing_support;

// The cells of a Markdown table row, without the blanks around them.
std::vector<std::string> cells(const std::string& row) {
    std::vector<std::string> found;
    std::istringstream in(row.substr(1));
    for (std::string cell; std::getline(in, cell, '|');)
        found.push_back(cell.substr(1, cell.size() - 2));
    return found;
}

// What a result box shows, as the document writes it: each text in turn,
// then the colour; and the warnings by the quantity their first line names.
class Shown : public RecordingWindow {
  public:
    Shown(const Расчетные_величины& v, OptionButton type) : RecordingWindow(type) {
        present(v, *this, ",");
    }
    std::string box(std::size_t row) {
        std::string text;
        for (const std::string& shown : m_texts[ResultBox(row)])
            text += (text.empty() ? "" : " → ") + shown;
        if (const auto colour = m_colours.find(ResultBox(row)); colour != m_colours.end())
            text += colour->second == kWhite ? ", белое" : ", красное";
        return row < 6 ? text : m_named.empty() ? "нет" : m_named;
    }
    void warn(const std::string& prompt, std::string_view title) override {
        const auto open = prompt.find('(') + 1;
        m_named += (m_named.empty() ? "" : "; ") + prompt.substr(open, prompt.find(')') - open);
        RecordingWindow::warn(prompt, title);
    }
    std::string m_named;
};

TEST(CalculationMethod, WorkedExamplesAreWhatTheProgramComputesAndShows) {
    std::ifstream document(testData("../docs/calculation-method.md"));
    int examples = 0, steps = 0, boxRows = 0;
    Исходные_значения in;
    Расчетные_величины v;
    std::optional<std::array<Shown, 2>> shown;
    for (std::string line; std::getline(document, line);) {
        if (line.starts_with("### ")) {
            ++examples, in = {}, shown.reset();
            continue;
        }
        if (!examples || !line.starts_with("| "))
            continue;
        SCOPED_TRACE(line);
        const auto row = cells(line);
        const auto input = std::string_view("HWLSPNr").find(row[1]);
        if (row.size() == 3 && row[1].size() == 1 && input != std::string_view::npos)
            valueOf(in, Input(input)) = parseNumber(row[2]);
        else if (row.size() == 5 && std::isdigit(static_cast<unsigned char>(row[0][0]))) {
            ASSERT_FALSE(calculate(in, v));
            std::string stored = row[3];
            std::replace(stored.begin(), stored.end(), ',', '.');
            const auto step = std::stoul(row[0]) - 1;
            EXPECT_EQ(bits(std::bit_cast<std::array<float, 22>>(v).at(step)), bits(number(stored)));
            ++steps;
        } else if (row[0] == "Поле") {
            ASSERT_FALSE(calculate(in, v));
            shown.emplace(
                std::array{Shown(v, OptionButton::Wall), Shown(v, OptionButton::Ceiling)});
        } else if (shown) {
            EXPECT_EQ(row[1], (*shown)[0].box(boxRows % 7)) << "with the wall type";
            EXPECT_EQ(row[2], (*shown)[1].box(boxRows % 7)) << "with the ceiling type";
            ++boxRows;
        }
    }
    EXPECT_GT(examples, 0) << "no worked example in the document";
    EXPECT_EQ(steps, 22 * examples) << "an example without its 22 steps";
    EXPECT_EQ(boxRows, 7 * examples) << "an example without its 6 result boxes and warnings";
}

} // namespace
} // namespace zulcalc
