#include "report/report.h"
#include "report/utf8.h"
#include "tests/calc/test_support.h"
#include "tests/report/files.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QHash>
#include <QStringDecoder>
#include <QTemporaryDir>

#include <QProcess>

#include <cstdlib>
#include <iostream>

namespace zulcalc {
namespace {

using namespace testing_support;

// The report of a window with the captions of its drawing and a few boxes filled in,
// against tests/report/report.expected: the box text starts at the next 14-column
// zone after its caption (a trailing space counts), an empty box leaves the
// caption and its padding, and every line break inside a box becomes CR LF.
TEST(Report, LinesCaptionsAndPrintZones) {
    const QHash<QString, QString> boxes = {
        {"txtЗначение_шифр_проекта", "П-17"},
        {"txtЗначение_Наименование_здания", "Склад\nкорпус 2"},
        {"txtЗначение_Адрес_здания", "ул. Мира,\r\nд. 1\rкв. 2"},
        {"txtЗначение_Уровень", "60"},
        {"txtЗначение_звука_на_3_м", "80"},
    };
    QHash<QString, QString> captions; // in quotes
    for (const Row& row : readTable("window/controls.tsv", true))
        captions[qs(row[0])] = qs(row[3]).mid(1).chopped(1);
    const QString report =
        reportText([&](const QString& name) { return boxes.value(name, captions.value(name)); });
    const QByteArray expected = readFile(qs(testData("report/report.expected")));
    EXPECT_EQ(report.toStdString(),
              QString::fromUtf8(expected).replace("\n", "\r\n").toStdString());
}

TEST(Report, Windows1251WithQuestionMarksForTheRest) {
    EXPECT_EQ(toWindows1251("Шифр №5 ёЁ \u20ACя"), QByteArray("\xD8\xE8\xF4\xF0 \xB9"
                                                              "5 \xB8\xA8 \x88\xFF"));
    // Every byte of the upper half, against the system's own decoder where Qt
    // has one (ICU).
    QStringDecoder decoder("windows-1251");
    for (int byte = 0x80; byte <= 0xFF && decoder.isValid(); ++byte) {
        const QByteArray one(1, char(byte));
        EXPECT_EQ(toWindows1251(decoder(one)), one) << byte;
    }
    // One '?' a character, a pair of surrogates included; a lone one is one too.
    EXPECT_EQ(toWindows1251("a\u2713b\u4E2D\U0001F600c" + QString(QChar(0xD800)) + "d"),
              QByteArray("a?b??c?d"));
}

// Two copies of the program printing into one file at the same instant: this
// test again in two processes, told by their environment what to append and
// let go together. Where a file size limit can be set, one of them runs out
// of room halfway through its report and cuts it back; every report of the
// other is there whole, and nothing of the failing one. On Windows both print,
// each after the other's report: the lock and the system's own append hold.
TEST(ReportFile, TwoCopiesPrintingAtOnce) {
    const bool sizeLimit = limitFileSize();
    if (const QByteArray copy = qgetenv("ZULCALC_COPY"); !copy.isEmpty()) {
        const QString file = qEnvironmentVariable("ZULCALC_FILE");
        std::cout << "ready" << std::endl;
        while (!QFile::exists(file + ".go")) {
        } // spinning, so that both copies see it at the same instant
        const bool cutShort = sizeLimit && copy == "b";
        limitFileSize(cutShort ? 2500 : -1);
        std::exit(appendToFile(file, copy.repeated(3000)).has_value() == cutShort ? 0 : 1);
    }
    const QTemporaryDir dir;
    const QString path = dir.filePath("Sample.txt");
    const QByteArray initial(1000, 'o'), a(3000, 'a'), b(3000, 'b');
    for (int round = 0; round < 50; ++round) {
        ASSERT_TRUE(writeFile(path, initial));
        QFile::remove(path + ".go");
        QProcess copies[2];
        for (int i = 0; i < 2; ++i) {
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert("ZULCALC_COPY", i ? "b" : "a");
            env.insert("ZULCALC_FILE", path);
            copies[i].setProcessEnvironment(env);
            copies[i].start(QString::fromLocal8Bit(testing::internal::GetArgvs()[0]),
                            {"--gtest_filter=ReportFile.TwoCopiesPrintingAtOnce"});
            QByteArray said;
            while (!said.contains("ready") && copies[i].waitForReadyRead())
                said += copies[i].readAllStandardOutput();
        }
        ASSERT_TRUE(writeFile(path + ".go", {}));
        for (QProcess& started : copies) {
            ASSERT_TRUE(started.waitForFinished());
            EXPECT_EQ(started.exitCode(), 0) << "round " << round;
        }
        const QByteArray report = readFile(path);
        ASSERT_TRUE(sizeLimit ? report == initial + a
                              : report == initial + a + b || report == initial + b + a)
            << "round " << round;
    }
}

} // namespace
} // namespace zulcalc
