#pragma once

#include "report/report.h"

#include <QStringList>

#include <chrono>
#include <optional>

namespace zulcalc {

// How to start a text editor so that it reads a file as Windows-1251.
struct EditorStart {
    QString program;
    QStringList arguments;
};

// For the desktop's text editor, named by its desktop entry (as
// `xdg-mime query default text/plain` gives it), the command that opens
// `path` as Windows-1251 text; none where the editor reads it right by itself
// (Kate) or cannot be told (GNOME Text Editor): those are left to the desktop.
std::optional<EditorStart> windows1251Start(const QString& desktopEntry, const QString& path);

// Opens a file with the application the desktop associates with it, judged
// by the desktop's own answer: false where the launcher says it found
// nothing to open it with or failed, or is not there at all.
class DesktopOpener : public FileOpener {
  public:
    bool open(const QString& path) override;
};

} // namespace zulcalc
