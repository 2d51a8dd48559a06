#include "window/desktop_opener.h"

#include <QDesktopServices>
#include <QUrl>

namespace zulcalc {

void DesktopOpener::open(const QString& path) {
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

} // namespace zulcalc
