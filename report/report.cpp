#include "report/report.h"

#include "report/file_lock.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QStringDecoder>
#include <QTemporaryFile>

#include <array>
#include <cerrno>
#include <cstring>

namespace zulcalc {

namespace {

constexpr int kZoneWidth = 14;

QString qs(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

const QString kCrLf = QStringLiteral("\r\n");

QString withCrLf(QString text) {
    text.replace(kCrLf, QStringLiteral("\n"));
    text.replace(QChar('\r'), QChar('\n'));
    text.replace(QChar('\n'), kCrLf);
    return text;
}

// Columns count from 1; the caption fills 1..n, and the box text starts at
// the first column after it that is 1 more than a multiple of 14.
QString padToNextZone(const QString& caption) {
    const auto used = caption.size();
    const auto zoneStart = (used + kZoneWidth - 1) / kZoneWidth * kZoneWidth;
    return caption + QString(zoneStart - used, QChar(' '));
}

QString systemReason(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

} // namespace

QString reportText(const ControlText& textOf) {
    QString report;
    for (const ReportLine& line : kReportLines) {
        if (line.captioned.box.empty())
            report += qs(line.fixedText);
        else
            report += padToNextZone(textOf(qs(line.captioned.label))) +
                      withCrLf(textOf(qs(line.captioned.box)));
        report += kCrLf;
    }
    return report;
}

QByteArray toWindows1251(const QString& text) {
    // The upper half of the code page, read back through Qt's own decoder;
    // anything not in it (and any unpaired surrogate) is written as '?'.
    static const QHash<char16_t, char> upperHalf = [] {
        QHash<char16_t, char> table;
        QStringDecoder decoder("windows-1251");
        for (int byte = 0x80; byte <= 0xFF; ++byte) {
            const QString one = decoder.decode(QByteArray(1, static_cast<char>(byte)));
            if (one.size() == 1 && one.at(0) != QChar::ReplacementCharacter)
                table.insert(one.at(0).unicode(), static_cast<char>(byte));
        }
        return table;
    }();
    QByteArray bytes;
    bytes.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text.at(i).unicode();
        if (unit < 0x80)
            bytes += static_cast<char>(unit);
        else
            bytes += upperHalf.value(unit, '?');
        // A character outside the BMP is one '?', not two.
        if (QChar::isHighSurrogate(unit) && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            ++i;
    }
    return bytes;
}

std::optional<WriteFailure> appendToFile(const QString& path, const QByteArray& bytes,
                                         std::chrono::milliseconds lockWait) {
    QFile file(path);
    // Unbuffered: a failed write must leave nothing queued that a later
    // close could still append after the file has been cut back.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
        return WriteFailure{path, file.errorString()};
    const int fd = file.handle();
    if (const int error = lockFile(fd, lockWait)) {
        return WriteFailure{path, error == EWOULDBLOCK
                                      ? QStringLiteral("файл занят другой копией программы "
                                                       "дольше %1 с")
                                            .arg(static_cast<double>(lockWait.count()) / 1000)
                                      : systemReason(error)};
    }
    // From here until the lock is released no other copy appends or cuts
    // back, so the length noted now is where this report starts. A device (a
    // link to /dev/full, say) has no length to return to.
    const qint64 before = file.isSequential() ? -1 : file.size();
    std::optional<WriteFailure> failure;
    if (file.write(bytes) != bytes.size())
        failure = WriteFailure{path, file.errorString()};
    // On the disk before the program says it is written and ends.
    else if (const int error = syncFile(fd))
        failure = WriteFailure{path, systemReason(error)};
    // Whatever part of the report did reach the file goes again.
    if (failure && before >= 0)
        file.resize(before);
    unlockFile(fd);
    return failure;
}

bool folderIsWritable(const QString& folder) {
    // Trying is the one check that holds everywhere: permissions, ACLs, a
    // read-only mount, a folder Windows keeps for administrators.
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral("zulcalc-XXXXXX")));
    return probe.open();
}

PrintOutcome printReport(const ReportPlace& place, const QByteArray& report) {
    const QString name = QStringLiteral("Sample.txt");
    // Only a folder closed to the user sends the report elsewhere; any other
    // failure is reported against the file the user expects.
    const bool closed = !place.folderWritable(place.programDir);
    const QString folder = closed ? place.documentsDir : place.programDir;
    const QString path = QDir(folder).filePath(name);
    if (closed && (folder.isEmpty() || !QDir().mkpath(folder))) {
        return {path, WriteFailure{path, QStringLiteral("в папку программы «%1» писать нельзя, а "
                                                        "папку документов «%2» создать не удалось")
                                             .arg(QDir::toNativeSeparators(place.programDir),
                                                  QDir::toNativeSeparators(folder))}};
    }
    return {path, appendToFile(path, report)};
}

} // namespace zulcalc
