// Any bytes typed into an input box: the reading never misbehaves and keeps
// the properties readingFault checks.
#include "tests/calc/test_support.h" // the standard headers too

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    if (zulcalc::testing_support::readingFault(input))
        std::abort();
    return 0;
}
