// One press of Calculate on any seven texts and either mount type: a fault
// reaches the window not at all; otherwise all six boxes are filled with
// numbers as the program writes them, painted only white or red, with at
// most three warnings, each one of the program's own.
#include "calc/presentation.h"
#include "tests/calc/test_support.h" // the standard headers too

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    using namespace zulcalc;
    const std::string separator = (data[0] & 2) ? "," : ".";

    // Seven texts separated by '|'; missing ones stay empty.
    Исходные_значения inputs;
    std::istringstream texts(std::string(reinterpret_cast<const char*>(data + 1), size - 1));
    for (Input input : kAllInputs) {
        std::string text;
        std::getline(texts, text, '|');
        onTextChanged(inputs, inputBoxName(input), text);
    }

    testing_support::RecordingWindow window(data[0] & 1 ? OptionButton::Ceiling
                                                        : OptionButton::Wall);
    Расчетные_величины results;
    const Расчетные_величины before = results;
    if (calculateAndPresent(inputs, results, window, separator)) {
        if (window.m_calls != 0 || !(results == before))
            std::abort();
        return 0;
    }

    const std::string sep = separator == "," ? "," : "\\.";
    const std::regex number("-?[0-9]+(" + sep + "[0-9]+)?|-?[0-9](" + sep +
                            "[0-9]+)?E[+-][0-9]{2}");
    if (window.m_texts.size() != 6 || window.m_colours.size() != 2)
        std::abort();
    for (const auto& [box, shown] : window.m_texts)
        for (const std::string& text : shown)
            if (!std::regex_match(text, number) || text == "-0")
                std::abort();
    for (const auto& [box, colour] : window.m_colours)
        if (colour != kWhite && colour != kRed)
            std::abort();
    // Every prompt matched one of the table's rows: besides the warnings, the
    // four blocks set a text or a colour ten times, whatever the mount type.
    if (window.m_warnings.size() > 3 || int(window.m_warnings.size()) != window.m_calls - 10)
        std::abort();
    return 0;
}
