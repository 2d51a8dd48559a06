#include "report/report.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QStringDecoder>

#include <array>
#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace zulcalc {

namespace {

constexpr int kZoneWidth = 14;

struct Line {
    const char* fixedText; // a line of its own, or
    const char* label;     // a caption followed by
    const char* box;       // the text of its box
};

constexpr std::array<Line, 23> kLines = {{
    {"Расчет уровня звукового давления, количества и мощности оповещателей", nullptr, nullptr},
    {nullptr, "lblШифр_проекта", "txtЗначение_шифр_проекта"},
    {nullptr, "lblнаименование_здания", "txtЗначение_Наименование_здания"},
    {nullptr, "lblАдрес_здания", "txtЗначение_Адрес_здания"},
    {nullptr, "lbl№этажа", "txtЗначение_№_этажа"},
    {nullptr, "lbl№помещения", "txtЗначение_№_помещения"},
    {nullptr, "lblНаименованиепомещения", "txtНаименование_помещения"},
    {"Исходные данные:", nullptr, nullptr},
    {nullptr, "lblПлощадь", "txtЗначение_Площадь"},
    {nullptr, "lblВысота", "txtЗначение_Высота"},
    {nullptr, "lblШирина", "txtЗначение_Ширина"},
    {nullptr, "lblДлина", "txtЗначение_Длина"},
    {nullptr, "lblЧувствительность", "txtЗначение_Чувствительность"},
    {nullptr, "lblМощность", "txtЗначение_Мощность"},
    {nullptr, "lblФон", "txtЗначение_Уровень"},
    {nullptr, "lblРастояние_оповещатель_слушатель", "txtЗначение_расстояния_оповещатель_слушатель"},
    {"Результаты расчетов:", nullptr, nullptr},
    {nullptr, "lblТребуемый_уровень_в_точке", "txtЗначение_требуемого_уровня_в_точке"},
    {nullptr, "lblЗвук_на_3_м", "txtЗначение_звука_на_3_м"},
    {nullptr, "lblЗвук_в_расчетной_точке", "txtЗначение_уровня_звука_в_расчетной_точке"},
    {nullptr, "lblКоличество_оповещателей", "txtЗначение_колличества_оповещателей"},
    {nullptr, "lblРасстояние_до_стены", "txtЗначение_расстояния_до_стены"},
    {nullptr, "lblРасстояние_между_оповещателями", "txtЗначение_расстояния_между_оповещателями"},
}};

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
    for (const Line& line : kLines) {
        if (line.fixedText)
            report += QString::fromUtf8(line.fixedText);
        else
            report += padToNextZone(textOf(QString::fromUtf8(line.label))) +
                      withCrLf(textOf(QString::fromUtf8(line.box)));
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

std::optional<WriteFailure> appendToFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    // Unbuffered: a failed write must leave nothing queued that a later
    // close could still append after the file has been cut back.
    constexpr auto mode = QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered;
    if (!file.open(mode))
        return WriteFailure{path, file.errorString()};
    // A device (a link to /dev/full, say) has no length to return to.
    const qint64 before = file.isSequential() ? -1 : file.size();
    const auto cutBack = [&] {
        if (before >= 0 && (file.isOpen() || file.open(mode)))
            file.resize(before);
    };
    if (file.write(bytes) == bytes.size()) {
        file.close();
        if (file.error() == QFileDevice::NoError)
            return std::nullopt;
    }
    const QString reason = file.errorString();
    // Whatever part of the report did reach the file goes again.
    cutBack();
    return WriteFailure{path, reason};
}

int folderWriteError(const QString& folder) {
    if (::access(QFile::encodeName(folder).constData(), W_OK | X_OK) == 0)
        return 0;
    return errno;
}

PrintOutcome printReport(const ReportPlace& place, const QByteArray& report) {
    const QString name = QStringLiteral("Sample.txt");
    const int error = place.folderError(place.programDir);
    // Only a folder closed to the user sends the report elsewhere; any other
    // failure is reported against the file the user expects.
    const bool closed = error == EACCES || error == EPERM || error == EROFS;
    const QString folder = closed ? place.documentsDir : place.programDir;
    const QString path = QDir(folder).filePath(name);
    if (closed && (folder.isEmpty() || !QDir().mkpath(folder))) {
        return {path, WriteFailure{path, QStringLiteral("папка программы закрыта для записи (") +
                                             systemReason(error) +
                                             QStringLiteral("), а папку документов «") + folder +
                                             QStringLiteral("» создать не удалось")}};
    }
    return {path, appendToFile(path, report)};
}

} // namespace zulcalc
