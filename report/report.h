#pragma once

#include <QByteArray>
#include <QString>

#include <chrono>
#include <functional>
#include <optional>

namespace zulcalc {

// The caption of a label or the current text of a box, by object name.
using ControlText = std::function<QString(const QString& objectName)>;

// The 23 lines of one report, each ending in CR LF. A box's text starts at
// the next 14-column print zone after its caption; line breaks inside a box
// become CR LF as well.
QString reportText(const ControlText& textOf);

// Windows-1251, the report file's encoding; a character it cannot hold is
// written as '?'.
QByteArray toWindows1251(const QString& text);

struct WriteFailure {
    QString path;
    QString reason; // the system's own words
};

// How long a copy waits for another that is printing into the same file.
inline constexpr std::chrono::milliseconds kLockWait{5000};

// Appends all of `bytes` with one write, holding the file's lock, and flushes
// them to the disk. On any failure the file is cut back to the length it had,
// so a report is either there whole or not at all, and another copy's report
// appended before or after is never touched.
std::optional<WriteFailure> appendToFile(const QString& path, const QByteArray& bytes,
                                         std::chrono::milliseconds lockWait = kLockWait);

// Where a report may go. `folderWritable` tells whether the user may create
// and write files in a folder.
struct ReportPlace {
    QString programDir;
    QString documentsDir;
    std::function<bool(const QString& folder)> folderWritable;
};

bool folderIsWritable(const QString& folder);

struct PrintOutcome {
    QString path; // where the report went, or was meant to go
    std::optional<WriteFailure> failure;
};

// Appends the report to Sample.txt beside the program; when the program's
// folder is closed to the user (an installed copy), to Sample.txt in the
// documents folder instead, creating that folder if need be.
PrintOutcome printReport(const ReportPlace& place, const QByteArray& report);

// Asks the desktop to open a file with its associated application. Behind
// an interface so that tests never start a real editor.
class FileOpener {
  public:
    virtual ~FileOpener() = default;
    virtual void open(const QString& path) = 0;
};

} // namespace zulcalc
