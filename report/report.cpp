#include "report/report.h"

#include "report/append_file.h"
#include "report/native_file.h"
#include "report/utf8.h"

#include <QDir>
#include <QFile>
#include <QTemporaryFile>

#include <algorithm>
#include <array>
#include <filesystem>

namespace zulcalc {

namespace {

constexpr int kZoneWidth = 14;

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

// Bytes 0x80 to 0xBF of Windows-1251 (0x98, unassigned, holds its C1 control
// as Windows' own conversion does); 0xC0 to 0xFF are
// А to я in order. Written out here rather than asked of Qt, whose decoder for
// this code page exists only where Qt was built with ICU (not on Windows).
constexpr char16_t kUpperHalf[64] = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409,
    0x2039, 0x040A, 0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0,
    0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB,
    0x00AC, 0x00AD, 0x00AE, 0x0407, 0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6,
    0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,
};

// A character of the upper half, or '?' for one the code page lacks.
char toUpperHalf(char16_t unit) {
    if (unit >= u'А' && unit <= u'я')
        return static_cast<char>(0xC0 + (unit - u'А'));
    for (int i = 0; i < 64; ++i)
        if (kUpperHalf[i] == unit)
            return static_cast<char>(0x80 + i);
    return '?';
}

// Calls `each(character, byte)` for every character of the text: one code
// point (a surrogate pair is one), and the byte Windows-1251 writes for it.
template <class Each> void forEachCharacter(const QString& text, Each each) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text.at(i).unicode();
        const bool pair =
            QChar::isHighSurrogate(unit) && i + 1 < text.size() && text.at(i + 1).isLowSurrogate();
        each(QStringView(text).mid(i, pair ? 2 : 1),
             unit < 0x80 ? static_cast<char>(unit) : toUpperHalf(unit));
        i += pair ? 1 : 0;
    }
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
    QByteArray bytes;
    bytes.reserve(text.size());
    forEachCharacter(text, [&bytes](QStringView, char byte) { bytes += byte; });
    return bytes;
}

QList<UnwritableCharacter> unwritableCharacters(const ControlText& textOf) {
    QList<UnwritableCharacter> found;
    for (const ReportLine& line : kReportLines) {
        if (line.captioned.box.empty())
            continue;
        forEachCharacter(textOf(qs(line.captioned.box)), [&](QStringView character, char byte) {
            if (byte != '?' || character == u"?" ||
                std::any_of(found.cbegin(), found.cend(),
                            [character](const auto& met) { return met.character == character; }))
                return;
            found.append({character.toString(), textOf(qs(line.captioned.label))});
        });
    }
    return found;
}

std::optional<WriteFailure> appendToFile(const QString& path, const QByteArray& bytes,
                                         std::chrono::milliseconds lockWait,
                                         const WhileWaiting& whileWaiting, FileSystem* system) {
    FileSystem native;
    const auto error = appendWhole(std::filesystem::path(path.toStdU16String()),
                                   std::string_view(bytes.constData(), std::size_t(bytes.size())),
                                   lockWait, whileWaiting, system ? *system : native);
    if (!error)
        return std::nullopt;
    // %1: the system's own words; %2: the wait, in seconds.
    constexpr std::string_view kReasons[] = {
        "это не обычный файл, а %1: отчет пишется только в обычный файл", // Check
        "%1",                                                             // Open
        "файл дольше %2 с открыт в другой программе, которая не дает в него писать (например, "
        "в Excel или программе синхронизации): закройте его там (%1)", // InUse
        "файл занят другой копией программы дольше %2 с",              // Wait
        "файл не удалось заблокировать для записи (%1)",               // Lock
        "система не сообщает, где кончается файл (%1)",                // Measure
        "%1",                                                          // Write
        "отчет не удалось сохранить на диск (%1)",                     // Flush
    };
    // What the name stands for, by Refusal.
    constexpr std::string_view kKinds[] = {
        "канал (FIFO)",
        "символьное устройство (например, терминал)",
        "блочное устройство (диск или его раздел)",
        "сокет",
        "файл особого рода",
    };
    QString reason = qs(kReasons[static_cast<int>(error->step)]);
    if (error->refusal == Refusal::ForeignLink)
        reason = QStringLiteral("это символьная ссылка другого пользователя в папке, куда могут "
                                "писать и другие: по такой ссылке отчет не пишется");
    else if (error->refusal)
        reason = reason.arg(qs(kKinds[static_cast<int>(*error->refusal)]));
    else if (error->step == AppendStep::Write && error->code == 0)
        reason = QStringLiteral("система не приняла ни байта и не назвала причины");
    reason.replace("%2", QString::number(static_cast<double>(lockWait.count()) / 1000))
        .replace("%1", qs(systemMessage(error->code)));
    if (error->left > 0)
        reason += QStringLiteral("; в конце файла осталось %1 из %2 байт этого отчета: удалите "
                                 "их, прежде чем печатать снова")
                      .arg(error->left)
                      .arg(bytes.size());
    return WriteFailure{path, reason};
}

bool folderIsWritable(const QString& folder) {
    // Trying is the one check that holds everywhere: permissions, ACLs, a
    // read-only mount, a folder Windows keeps for administrators.
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral("zulcalc-XXXXXX")));
    return probe.open();
}

PrintOutcome printReport(const ReportPlace& place, const QByteArray& report,
                         const WhileWaiting& whileWaiting) {
    const QString name = QStringLiteral("Sample.txt");
    // An installed copy writes among the user's own files whoever runs it:
    // root may write /usr/bin, and an administrator Program Files. Any other
    // copy writes beside itself; only a folder closed to the user sends its
    // report elsewhere, and any other failure is reported against the file
    // the user expects.
    const bool closed = !place.installed && !place.folderWritable(place.programDir);
    const bool toDocuments = place.installed || closed;
    const QString folder = toDocuments ? place.documentsDir : place.programDir;
    const QString path = QDir(folder).filePath(name);
    if (toDocuments && (folder.isEmpty() || !QDir().mkpath(folder))) {
        const QString documents = QDir::toNativeSeparators(folder);
        const QString why =
            closed ? QStringLiteral("в папку программы «%1» писать нельзя, а папку документов "
                                    "«%2» создать не удалось")
                         .arg(QDir::toNativeSeparators(place.programDir), documents)
                   : QStringLiteral("папку документов «%1», куда пишет отчеты установленная "
                                    "программа, создать не удалось")
                         .arg(documents);
        return {path, WriteFailure{path, why}};
    }
    return {path, appendToFile(path, report, place.lockWait, whileWaiting)};
}

} // namespace zulcalc
