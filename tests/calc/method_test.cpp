#include "tests/calc/test_support.h"

#include <gtest/gtest.h>

namespace zulcalc::testing_support {
namespace {

// A row of an example's table of boxes as the document writes it: each text a
// box shows in turn, then its colour; in the last row, the warnings.
std::string shown(const Расчетные_величины& v, OptionButton type, std::size_t row) {
    RecordingWindow window(type);
    present(v, window, ",");
    std::string text;
    for (const std::string& each : row < 6 ? window.m_texts[ResultBox(row)] : window.m_firstLines)
        text += (text.empty() ? "" : row < 6 ? " → " : "; ") + each;
    if (const auto colour = window.m_colours.find(ResultBox(row)); colour != window.m_colours.end())
        text += colour->second == kWhite ? ", белое" : ", красное";
    return text.empty() ? "нет" : text;
}

// The worked examples of the calculation method, read from the document: the
// inputs as typed, the 22 steps as stored (the shortest decimal that reads back
// as the stored value, so bit for bit), and the boxes for either type.
TEST(CalculationMethod, WorkedExamplesAreWhatTheProgramComputesAndShows) {
    std::ifstream document(testData("../docs/calculation-method.md"));
    int examples = 0, steps = 0, boxRows = 0;
    Исходные_значения in;
    Расчетные_величины v;
    for (std::string line; std::getline(document, line);) {
        examples += line.starts_with("### ");
        std::vector<std::string> cell; // a table's row, without the blanks around each cell
        for (auto at = line.find("| "); examples && at != line.npos; at = line.find("| ", at + 1))
            cell.push_back(line.substr(at + 2, line.find(" |", at) - at - 2));
        SCOPED_TRACE(line);
        if (const auto input = std::string("HWLSPNr").find(cell.size() == 3 ? cell[1] : "--");
            input != std::string::npos) {
            valueOf(in, Input(input)) = parseNumber(cell[2]);
        } else if (cell.size() == 5 && std::isdigit(static_cast<unsigned char>(cell[0][0]))) {
            ASSERT_FALSE(calculate(in, v));
            std::replace(cell[3].begin(), cell[3].end(), ',', '.');
            char stored[16]; // the shortest text that reads back as the stored value
            const float step = std::bit_cast<std::array<float, 22>>(v).at(std::stoul(cell[0]) - 1);
            EXPECT_EQ(cell[3], std::string(stored, std::to_chars(stored, stored + 16, step).ptr));
            ++steps;
        } else if (cell.size() == 3 && !cell[0].starts_with("Поле")) {
            EXPECT_EQ(cell[1], shown(v, OptionButton::Wall, boxRows % 7)) << "wall";
            EXPECT_EQ(cell[2], shown(v, OptionButton::Ceiling, boxRows++ % 7)) << "ceiling";
        }
    }
    EXPECT_TRUE(examples > 0 && steps == 22 * examples && boxRows == 7 * examples)
        << examples << " examples, " << steps << " steps, " << boxRows << " rows of boxes";
}

} // namespace
} // namespace zulcalc::testing_support
