#include "report/native_file.h"
#include "report/report.h"
#include "report/utf8.h"
#include "tests/calc/test_support.h"
#include "tests/report/files.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
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

// The system's answers as a row of faults.tsv sets them up, in front of the
// real ones (a file system for tests, as SQLite has): what the row names
// fails so, the rest is the system's.
struct Faults : QStringList {
    QString after(const char* word, int n = 1) const {
        return contains(word) ? value(indexOf(word) + n) : QString();
    }
    std::filesystem::path path{};
    std::size_t written = 0;
    int opens = 0;
};

struct FaultyFileSystem final : FileSystem {
    explicit FaultyFileSystem(Faults& setUp) : faults(setUp) {}
    Opening open(const std::filesystem::path& path) override {
        if (faults.after("in-use") == "all" || faults.opens++ < faults.after("in-use").toInt())
            return {std::nullopt, 32, true};
        return FileSystem::open(path);
    }
    Lock tryLock(Handle file, SystemCode& error) override {
        return faults.contains("nolock") ? Lock::Unsupported : FileSystem::tryLock(file, error);
    }
    std::size_t writeAtEnd(Handle file, std::string_view bytes, SystemCode& error) override {
        const std::size_t taken =
            faults.contains("full")
                ? std::min(bytes.size(), faults.after("full").toULong() - faults.written)
                : bytes.size();
        if (taken == 0 && faults.contains("over")) // another's file, which must stay
            std::filesystem::rename(faults.path.parent_path() / "другой.txt", faults.path);
        faults.written += taken;
        return taken ? FileSystem::writeAtEnd(file, bytes.substr(0, taken), error)
                     : (error = faults.after("full", 2).toULong(), 0);
    }
    SystemCode cutTo(Handle file, unsigned long long bytes) override {
        return faults.contains("uncut") ? faults.after("uncut").toULong()
                                        : FileSystem::cutTo(file, bytes);
    }
    SystemCode flushFolder(const std::filesystem::path& file) override {
        return faults.contains("folder-flush") ? faults.after("folder-flush").toULong()
                                               : FileSystem::flushFolder(file);
    }
    Faults& faults;
};

class FileFaults : public testing::TestWithParam<Row> {};

TEST_P(FileFaults, TheReportWholeOrNothingAndTheReason) {
    const Row& row = GetParam();
    const bool windowsColumn = QSysInfo::kernelType() == "winnt" && row.fields.size() > 3;
    const QString outcome = withSystemWords(qs(row[windowsColumn ? 3 : 2]));
    Faults setUp{qs(row[1]).split(' ')};
    if (outcome == "-")
        GTEST_SKIP() << "not on this system";
    // The system's own words, where a row has them, are Russian only where
    // the system has the language.
    if (outcome.contains(QRegularExpression("^[А-Я]")) && !qs(systemMessage(2)).contains("а"))
        GTEST_SKIP() << "no ru_RU.UTF-8 locale: the system's reasons are not in Russian";
    const QTemporaryDir dir;
    const QString folder = setUp.contains("small-disk")
                               ? qEnvironmentVariable("ZULCALC_SMALL_DRIVE")
                               : dir.filePath("зал");
    if (folder.isEmpty())
        GTEST_SKIP() << "no small disk: tools/windows-check.sh makes one as root";
    const QString path = folder + "/Sample.txt";
    setUp.path = path.toStdU16String();
    // On the small disk the file and 500 bytes of the report fill its page.
    QByteArray before(setUp.contains("new") || setUp[0] == "sh" ? 0 : 4096 - 500, 'o');
    ASSERT_TRUE(
        QDir().mkpath(setUp.contains("folder") ? path : folder) &&
        (setUp.contains("small-disk") || writeFile(folder + "/другой.txt", "another's file")) &&
        writeFile(dir.filePath("свой.txt"), {}) && (before.isEmpty() || writeFile(path, before)));
    if (setUp[0] == "sh" &&
        QProcess::execute("sh", {"-c", "cd \"$0\" && " + qs(row[1]).mid(3), folder}) != 0)
        GTEST_SKIP() << "this user cannot set this up";
    // Another copy, or on Windows another program, holds the file until the
    // 5th look, or all along; another file may take the name meanwhile.
    QFile other(path);
    if (setUp.contains("held") && !(other.open(QIODevice::Append) && holdLock(other)))
        FAIL() << "cannot hold the file";
    std::optional<HeldByAnotherProgram> program;
    if (setUp.contains("unshared") || setUp.contains("deleting"))
        program.emplace(path, setUp.contains("deleting"));
    int looks = 0;
    const auto whileWaiting = [&] {
        if (++looks != 5 || setUp.contains("all"))
            return;
        if (setUp.contains("over") && QFile::remove(path))
            QFile::rename(folder + "/другой.txt", path);
        other.close();
        program.reset();
    };
    const QByteArray report(3000, 'r');
    FaultyFileSystem system(setUp);
    const auto failure =
        appendToFile(path, report, std::chrono::milliseconds(300), whileWaiting, &system);
    program.reset();
    other.close();

    EXPECT_EQ((failure ? failure->reason : "printed").toStdString(), outcome.toStdString());
    // What the file holds: what took the name meanwhile, else what it held,
    // and the report or what is left of it; a new file it did not go into is
    // gone.
    if (setUp.contains("over") || setUp.contains("deleting"))
        before = setUp.contains("over") ? "another's file" : "";
    const auto left = QRegularExpression("осталось (\\d+) из").match(outcome).captured(1).toInt();
    if (failure && setUp.contains("new") && !setUp.contains("folder") && before.isEmpty()) {
        EXPECT_FALSE(QFileInfo::exists(path)) << "a new file that took no report is left";
    } else if (!failure || !before.isEmpty() || QFileInfo(path).isFile()) {
        EXPECT_EQ(readFile(path), before + (failure ? report.left(left) : report));
    }
    // The window is called back all through a wait.
    EXPECT_TRUE(!outcome.contains("дольше") || looks >= 5) << looks << " looks";
    if (setUp.contains("new") && !failure) { // made as any other file of the user's
        EXPECT_EQ(QFileInfo(path).permissions(), QFileInfo(folder + "/другой.txt").permissions());
    }
}

INSTANTIATE_TEST_SUITE_P(Table, FileFaults, testing::ValuesIn(readTable("report/faults.tsv", true)),
                         RowName());

// Two copies of the program printing into one file at the same instant: this
// test again in two processes, told by their environment what to append and
// let go together by a line on their input. Where a file size limit can be
// set, the second runs out of room halfway through its report whichever goes
// first, and cuts it back: the first's report is there whole, and nothing of
// the second's. On Windows both print, each after the other's report: the
// lock and the system's own append hold.
TEST(ReportFile, TwoCopiesPrintingAtOnce) {
    const bool sizeLimit = limitFileSize();
    if (const QByteArray copy = qgetenv("ZULCALC_COPY"); !copy.isEmpty()) {
        const bool cutShort = sizeLimit && copy == "b";
        std::cout << "ready" << std::endl;
        std::cin.get();
        limitFileSize(cutShort ? 5500 : -1);
        const auto failure = appendToFile(qEnvironmentVariable("ZULCALC_FILE"),
                                          copy.repeated(cutShort ? 6000 : 3000));
        std::cerr << (failure ? failure->reason.toStdString() : "printed") << std::endl;
        // The one cut short has written part of its report whichever went
        // first: failing with none of it left, it has cut that part back.
        std::exit(bool(failure) != cutShort || (failure && failure->reason.contains("осталось")));
    }
    const QTemporaryDir dir;
    const QString path = dir.filePath("Sample.txt");
    const QByteArray initial(1000, 'o'), a(3000, 'a'), b(3000, 'b');
    qputenv("ZULCALC_FILE", path.toUtf8());
    for (int round = 0; round < 50; ++round) {
        ASSERT_TRUE(writeFile(path, initial));
        QProcess copies[2];
        for (QProcess& copy : copies) {
            qputenv("ZULCALC_COPY", &copy == copies ? "a" : "b");
            // Wine fails a process's start now and then, whatever the program
            // (CreateProcess gives ERROR_INTERNAL_ERROR about once in 3000
            // starts under Xvfb): a copy that never ran has appended nothing,
            // so it is started again, twice at most.
            for (int start = 0; start < 3 && !copy.waitForStarted(); ++start) {
                if (start > 0)
                    std::cerr << "round " << round << ": a copy did not start, started again\n";
                copy.start(QString::fromLocal8Bit(testing::internal::GetArgvs()[0]),
                           {"--gtest_filter=ReportFile.TwoCopiesPrintingAtOnce"});
            }
            while (!copy.canReadLine() && copy.waitForReadyRead())
                continue; // until it is ready
        }
        for (QProcess& copy : copies)
            copy.write("go\n");
        for (QProcess& copy : copies) {
            const bool ended = copy.waitForFinished();
            ASSERT_TRUE(ended && copy.exitStatus() == QProcess::NormalExit && copy.exitCode() == 0)
                << "round " << round << ", copy " << (&copy == copies ? "a" : "b")
                << (ended ? " ended: " : " is not running: ") << copy.errorString().toStdString()
                << ", exit " << copy.exitStatus() << '/' << copy.exitCode()
                << ", said: " << copy.readAllStandardError().toStdString();
        }
        const QByteArray report = readFile(path);
        ASSERT_TRUE(sizeLimit ? report == initial + a
                              : report == initial + a + b || report == initial + b + a)
            << "round " << round;
    }
    qunsetenv("ZULCALC_COPY");
}

} // namespace
} // namespace zulcalc
