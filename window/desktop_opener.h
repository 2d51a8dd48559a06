#pragma once

#include "report/report.h"

namespace zulcalc {

// Opens a file with the application the desktop associates with it. Only
// whether one was started is known: its own failure is not seen here.
class DesktopOpener : public FileOpener {
  public:
    bool open(const QString& path) override;
};

} // namespace zulcalc
