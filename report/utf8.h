#pragma once

#include <QString>

#include <string_view>

namespace zulcalc {

// The names and texts of the program's tables are UTF-8 string views, held
// by Qt as UTF-16 strings.
inline QString qs(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace zulcalc
