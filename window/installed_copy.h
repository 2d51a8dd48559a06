#pragma once

#include <QString>

namespace zulcalc {

// Whether the program in `programDir` is the copy that the Debian package,
// tools/install.sh or the Windows installer put in place, rather than one
// copied or built elsewhere.
bool isInstalledCopy(const QString& programDir);

} // namespace zulcalc
