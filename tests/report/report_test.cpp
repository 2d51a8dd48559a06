#include "report/file_lock.h"
#include "report/report.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QHash>
#include <QTemporaryDir>

#include <csignal>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace zulcalc {
namespace {

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// Files may grow only to `bytes` while it lives; a write past that is cut
// short (and fails) instead of killing the process.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) {
        ::signal(SIGXFSZ, SIG_IGN);
        ::getrlimit(RLIMIT_FSIZE, &m_old);
        rlimit limit = m_old;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() { ::setrlimit(RLIMIT_FSIZE, &m_old); }

  private:
    rlimit m_old{};
};

TEST(Report, LinesCaptionsAndPrintZones) {
    // Captions as the window has them; the other labels answer their name.
    const QHash<QString, QString> window = {
        {"lblШифр_проекта", "Шифр проекта:"},
        {"lblнаименование_здания", "Наименование здания (сооружения)"},
        {"lblАдрес_здания", "Адрес здания (сооружения)"},
        {"lblФон", "Уровень фонового шума в помещении, дБ "},
        {"lbl№помещения", "№ по плану, шт:"}, // one past a zone: on to the next
        {"txtЗначение_шифр_проекта", "П-17"},
        {"txtЗначение_Наименование_здания", "Склад\nкорпус 2"},
        {"txtЗначение_Адрес_здания", "ул. Мира,\r\nд. 1\rкв. 2"},
        {"txtЗначение_Уровень", "60"},
    };
    const QString text = reportText([&](const QString& name) {
        return window.value(name, name.startsWith("lbl") ? name : QString());
    });
    const QStringList lines = text.split("\r\n");
    ASSERT_EQ(lines.size(), 27); // 23 lines, two boxes adding three, and the final CR LF
    const QStringList expected = {
        "Расчет уровня звукового давления, количества и мощности оповещателей",
        "Шифр проекта: П-17", // 13 characters: the text starts in column 15
        "Наименование здания (сооружения)          Склад", // 32: column 43
        "корпус 2",
        "Адрес здания (сооружения)   ул. Мира,",
        "д. 1",
        "кв. 2",
        "lbl№этажа     ", // an empty box leaves the caption and its padding
        "№ по плану, шт:             ",
        "lblНаименованиепомещения    ",
        "Исходные данные:",
    };
    EXPECT_EQ(lines.mid(0, expected.size()).join('|').toStdString(),
              expected.join('|').toStdString());
    // The trailing space of this caption counts: 38 characters, column 43.
    EXPECT_EQ(lines[17].toStdString(), "Уровень фонового шума в помещении, дБ     60");
    EXPECT_EQ(lines[19].toStdString(), "Результаты расчетов:");
    EXPECT_EQ(lines[26], "");
    for (const QString& line : lines)
        EXPECT_FALSE(line.contains('\r') || line.contains('\n')) << line.toStdString();
}

TEST(Report, Windows1251WithQuestionMarksForTheRest) {
    EXPECT_EQ(toWindows1251("Шифр №5 ёЁ \u20ACя"), QByteArray("\xD8\xE8\xF4\xF0 \xB9"
                                                              "5 \xB8\xA8 \x88\xFF"));
    // One '?' a character, a pair of surrogates included; a lone one is one too.
    EXPECT_EQ(toWindows1251("a\u2713b\u4E2D\U0001F600c" + QString(QChar(0xD800)) + "d"),
              QByteArray("a?b??c?d"));
}

class ReportFile : public testing::Test {
  protected:
    QTemporaryDir m_dir;
    QString path(const QString& name = "Sample.txt") const { return m_dir.filePath(name); }
};

TEST_F(ReportFile, AppendsAfterWhatIsThere) {
    writeAll(path(), "old\r\n");
    ASSERT_FALSE(appendToFile(path(), "one\r\n"));
    ASSERT_FALSE(appendToFile(path(), "two\r\n"));
    EXPECT_EQ(readAll(path()), "old\r\none\r\ntwo\r\n");
}

enum class Failure { Directory, DiskFull, ReadOnlyFile, ShortWrite, NotDurable };

class ReportFailure : public ReportFile, public testing::WithParamInterface<Failure> {};

TEST_P(ReportFailure, LeavesTheFileAsItWas) {
    const QByteArray before(1000, 'o');
    writeAll(path(), before);
    switch (GetParam()) {
    case Failure::Directory:
        QFile::remove(path());
        ASSERT_TRUE(QDir().mkpath(path()));
        break;
    case Failure::DiskFull:
    case Failure::NotDurable: // written, but a device cannot keep it
        QFile::remove(path());
        ASSERT_TRUE(QFile::link(GetParam() == Failure::DiskFull ? "/dev/full" : "/dev/null", path()));
        break;
    case Failure::ReadOnlyFile:
        if (::geteuid() == 0)
            GTEST_SKIP() << "root writes read-only files; tools/test.sh reruns this as nobody";
        QFile::setPermissions(path(), QFile::ReadOwner);
        break;
    case Failure::ShortWrite:
        break;
    }
    std::optional<WriteFailure> failure;
    {
        // Room for half the report: the write is cut off midway.
        FileSizeLimit limit(GetParam() == Failure::ShortWrite ? 1500 : RLIM_INFINITY);
        failure = appendToFile(path(), QByteArray(1000, 'x'));
    }
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->path, path());
    EXPECT_FALSE(failure->reason.isEmpty());
    if (QFileInfo(path()).isFile() && !QFileInfo(path()).isSymLink()) {
        QFile::setPermissions(path(), QFile::ReadOwner | QFile::WriteOwner);
        EXPECT_EQ(readAll(path()), before);
    }
}

void PrintTo(Failure failure, std::ostream* out) {
    const char* names[] = {"Directory", "DiskFull", "ReadOnlyFile", "ShortWrite", "NotDurable"};
    *out << names[static_cast<int>(failure)];
}

std::string failureName(const testing::TestParamInfo<Failure>& info) {
    return testing::PrintToString(info.param);
}

INSTANTIATE_TEST_SUITE_P(Kinds, ReportFailure,
                         testing::Values(Failure::Directory, Failure::DiskFull,
                                         Failure::ReadOnlyFile, Failure::ShortWrite,
                                         Failure::NotDurable),
                         failureName);

// Two copies printing into one file at the same instant, a hundred times;
// one of them runs out of room halfway through its report and cuts it back.
// Every report of the other is there whole, and nothing of the failing one.
TEST_F(ReportFile, TwoCopiesPrintingAtOnce) {
    const QByteArray initial(1000, 'o'), whole(3000, 'a'), cutShort(3000, 'b');
    for (int round = 0; round < 100; ++round) {
        writeAll(path(), initial);
        int start[2];
        ASSERT_EQ(::pipe(start), 0);
        std::vector<pid_t> copies;
        for (const QByteArray* report : {&whole, &cutShort}) {
            const pid_t pid = ::fork();
            if (pid == 0) {
                char go;
                ::close(start[1]);
                [[maybe_unused]] auto n = ::read(start[0], &go, 1); // both start together
                FileSizeLimit limit(report == &whole ? RLIM_INFINITY : 2500);
                const bool ok = !appendToFile(path(), *report);
                ::_exit(ok == (report == &whole) ? 0 : 1);
            }
            copies.push_back(pid);
        }
        ::close(start[0]);
        ::close(start[1]); // lets them go
        for (pid_t pid : copies) {
            int status = 0;
            ::waitpid(pid, &status, 0);
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "round " << round;
        }
        ASSERT_EQ(readAll(path()), initial + whole) << "round " << round;
    }
}

TEST_F(ReportFile, ACopyThatCannotGetTheFileSaysSo) {
    writeAll(path(), "old\r\n");
    QFile other(path());
    ASSERT_TRUE(other.open(QIODevice::Append));
    ASSERT_EQ(lockFile(other.handle(), std::chrono::milliseconds(0)), 0);
    const auto failure = appendToFile(path(), "report", std::chrono::milliseconds(100));
    ASSERT_TRUE(failure);
    EXPECT_TRUE(failure->reason.contains("занят другой копией")) << failure->reason.toStdString();
    unlockFile(other.handle());
    EXPECT_FALSE(appendToFile(path(), "new\r\n", std::chrono::milliseconds(100)));
    EXPECT_EQ(readAll(path()), "old\r\nnew\r\n");
}

TEST_F(ReportFile, AFolderClosedToTheUserSendsTheReportToDocuments) {
    const QString documents = path("home/Документы");
    const ReportPlace place{path("bin"), documents,
                            [&](const QString& folder) { return folder != path("bin"); }};
    const PrintOutcome outcome = printReport(place, "report\r\n");
    ASSERT_FALSE(outcome.failure);
    EXPECT_EQ(outcome.path, documents + "/Sample.txt");
    EXPECT_EQ(readAll(outcome.path), "report\r\n");
    EXPECT_FALSE(QFile::exists(path("bin/Sample.txt")));
}

TEST_F(ReportFile, NoFallbackWhenTheDocumentsFolderCannotBeMade) {
    writeAll(path("home"), "a file where a folder should be");
    const ReportPlace place{path("bin"), path("home/Documents"), [](const QString&) { return false; }};
    const PrintOutcome outcome = printReport(place, "report\r\n");
    ASSERT_TRUE(outcome.failure);
    EXPECT_TRUE(outcome.failure->reason.contains(path("home/Documents")));
}

TEST_F(ReportFile, OtherFailuresStayWithTheProgramFolder) {
    ASSERT_TRUE(QDir().mkpath(path("bin/Sample.txt")));
    const ReportPlace place{path("bin"), path("docs"), folderIsWritable};
    const PrintOutcome outcome = printReport(place, "report\r\n");
    ASSERT_TRUE(outcome.failure);
    EXPECT_EQ(outcome.path, path("bin/Sample.txt"));
    EXPECT_FALSE(QFile::exists(path("docs")));
    EXPECT_EQ(QDir(path("bin")).entryList(QDir::Files), QStringList()); // the probe is gone
}

TEST_F(ReportFile, ReadOnlyFolderIsSeenAsClosed) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "root may write into any folder; tools/test.sh reruns this as nobody";
    ASSERT_TRUE(QDir().mkpath(path("bin")));
    QFile::setPermissions(path("bin"), QFile::ReadOwner | QFile::ExeOwner);
    EXPECT_FALSE(folderIsWritable(path("bin")));
    QFile::setPermissions(path("bin"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_TRUE(folderIsWritable(path("bin")));
}

} // namespace
} // namespace zulcalc
