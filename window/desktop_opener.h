#pragma once

#include "report/report.h"

namespace zulcalc {

// Opens a file with the application the desktop associates with it; the
// answer is not examined, as the report is already safely written.
class DesktopOpener : public FileOpener {
  public:
    void open(const QString& path) override;
};

} // namespace zulcalc
