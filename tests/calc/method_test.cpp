#include "calc/presentation.h"

#include "tests/calc/test_support.h"

#include <gtest/gtest.h>

#include <array>
#include <bit>

namespace zulcalc {
namespace {

using namespace testing_support;

// What the document writes in a row of an example's table of boxes: each
// text a box shows in turn, then its colour; in the last row the warnings.
std::string shown(RecordingWindow& window, std::size_t row) {
    const auto& texts = row < 6 ? window.m_texts[ResultBox(row)] : window.m_firstLines;
    std::string text;
    for (const std::string& each : texts)
        text += (text.empty() ? "" : row < 6 ? " → " : "; ") + each;
    if (const auto colour = window.m_colours.find(ResultBox(row)); colour != window.m_colours.end())
        text += colour->second == kWhite ? ", белое" : ", красное";
    return text.empty() ? "нет" : text;
}

// The worked examples of the calculation method, read from the document: the
// inputs as typed, the 22 steps as stored, and the boxes for either type.
TEST(CalculationMethod, WorkedExamplesAreWhatTheProgramComputesAndShows) {
    std::ifstream document(testData("../docs/calculation-method.md"));
    int examples = 0, steps = 0, boxRows = 0;
    Исходные_значения in;
    Расчетные_величины v;
    std::vector<RecordingWindow> types;
    for (std::string line; std::getline(document, line);) {
        if (line.starts_with("### "))
            ++examples, types.clear();
        std::vector<std::string> cell; // a table's row, without the blanks around each cell
        for (auto at = line.find("| "); examples && at != std::string::npos;
             at = line.find("| ", at + 1))
            cell.push_back(line.substr(at + 2, line.find(" |", at) - at - 2));
        SCOPED_TRACE(line);
        const auto input = std::string("HWLSPNr").find(cell.size() == 3 ? cell[1] : "-");
        if (input != std::string::npos && cell[1].size() == 1)
            valueOf(in, Input(input)) = parseNumber(cell[2]);
        else if (cell.size() == 5 && std::isdigit(static_cast<unsigned char>(cell[0][0]))) {
            ASSERT_FALSE(calculate(in, v));
            std::replace(cell[3].begin(), cell[3].end(), ',', '.');
            EXPECT_EQ(bits(std::bit_cast<std::array<float, 22>>(v).at(std::stoul(cell[0]) - 1)),
                      bits(number(cell[3])));
            ++steps;
        } else if (cell.size() == 3 && cell[0] == "Поле") {
            ASSERT_FALSE(calculate(in, v));
            types = {RecordingWindow(OptionButton::Wall), RecordingWindow(OptionButton::Ceiling)};
            for (RecordingWindow& type : types)
                present(v, type, ",");
        } else if (cell.size() == 3 && !types.empty()) {
            EXPECT_EQ(cell[1], shown(types[0], boxRows % 7)) << "the wall type";
            EXPECT_EQ(cell[2], shown(types[1], boxRows++ % 7)) << "the ceiling type";
        }
    }
    EXPECT_GT(examples, 0) << "no worked example in the document";
    EXPECT_EQ(steps, 22 * examples) << "an example without its 22 steps";
    EXPECT_EQ(boxRows, 7 * examples) << "an example without its 6 result boxes and warnings";
}

} // namespace
} // namespace zulcalc
