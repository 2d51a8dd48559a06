#include "window/desktop_opener.h"

#include <QDesktopServices>
#include <QUrl>

namespace zulcalc {

bool DesktopOpener::open(const QString& path) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

} // namespace zulcalc
