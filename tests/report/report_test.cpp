#include "report/report.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QHash>
#include <QTemporaryDir>

#include <cerrno>
#include <string>
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

// The window as the report sees it: the captions the assertions below
// measure, and the label's own name for the rest.
ControlText window(QHash<QString, QString> boxes) {
    static const QHash<QString, QString> captions = {
        {"lblШифр_проекта", "Шифр проекта:"},
        {"lblнаименование_здания", "Наименование здания (сооружения)"},
        {"lblАдрес_здания", "Адрес здания (сооружения)"},
        {"lbl№этажа", "№ этажа"},
        {"lblФон", "Уровень фонового шума в помещении, дБ "},
        {"lblЗвук_на_3_м", "Расчетный уровень звука на расстоянии 3 м. от оповещателя, дБ (по СП "
                           "3.13130-2009 п.4.1)"},
    };
    return [boxes = std::move(boxes)](const QString& name) {
        if (name.startsWith("lbl"))
            return captions.value(name, name);
        return boxes.value(name);
    };
}

TEST(Report, LinesCaptionsAndPrintZones) {
    const QString text = reportText(window({
        {"txtЗначение_шифр_проекта", "П-17"},
        {"txtЗначение_Наименование_здания", "Склад\nкорпус 2"},
        {"txtЗначение_Уровень", "60"},
        {"txtЗначение_звука_на_3_м", "80"},
    }));
    std::vector<std::string> lines;
    for (const QString& line : text.split("\r\n"))
        lines.push_back(line.toStdString());
    ASSERT_EQ(lines.size(), 25u); // 23 lines, one of them broken in two, and the final CR LF
    EXPECT_EQ(lines.back(), "");
    EXPECT_EQ(lines[0], "Расчет уровня звукового давления, количества и мощности оповещателей");
    // 13 characters: the text starts in column 15.
    EXPECT_EQ(lines[1], "Шифр проекта: П-17");
    // 32 characters: column 43. The box's line break is kept as CR LF.
    EXPECT_EQ(lines[2], "Наименование здания (сооружения)          Склад");
    EXPECT_EQ(lines[3], "корпус 2");
    // An empty box leaves the caption and its padding.
    EXPECT_EQ(lines[4], "Адрес здания (сооружения)   ");
    EXPECT_EQ(lines[8], "Исходные данные:");
    // The trailing space of this caption counts: 38 characters, column 43.
    EXPECT_EQ(lines[15], "Уровень фонового шума в помещении, дБ     60");
    EXPECT_EQ(lines[17], "Результаты расчетов:");
    // 88 characters: column 99.
    EXPECT_EQ(lines[19], "Расчетный уровень звука на расстоянии 3 м. от оповещателя, дБ (по СП "
                         "3.13130-2009 п.4.1)          80");
    for (const auto& line : lines)
        EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos) << line;
}

TEST(Report, LoneCarriageReturnsAndLineFeedsBecomeCrLf) {
    const QString text =
        reportText(window({{"txtЗначение_Адрес_здания", "ул. Мира,\r\nд. 1\rкв. 2\n"}}));
    EXPECT_TRUE(text.contains("ул. Мира,\r\nд. 1\r\nкв. 2\r\n\r\n№ этажа"));
}

TEST(Report, Windows1251WithQuestionMarksForTheRest) {
    EXPECT_EQ(toWindows1251("Шифр №5 ёЁ"), QByteArray("\xD8\xE8\xF4\xF0 \xB9"
                                                      "5 \xB8\xA8"));
    EXPECT_EQ(toWindows1251("a\u2713b\u4E2D\U0001F600c"), QByteArray("a?b??c"));
    EXPECT_EQ(toWindows1251("\u20AC"), QByteArray("\x88"));
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

TEST_F(ReportFile, AFailedWriteLeavesTheFileAsItWas) {
    // A directory in the way, and a disk with no space left.
    ASSERT_TRUE(QDir().mkpath(path("dir")));
    const auto dirFailure = appendToFile(path("dir"), "report");
    ASSERT_TRUE(dirFailure);
    EXPECT_EQ(dirFailure->path, path("dir"));
    EXPECT_FALSE(dirFailure->reason.isEmpty());

    ASSERT_EQ(::symlink("/dev/full", QFile::encodeName(path("full")).constData()), 0);
    const auto fullFailure = appendToFile(path("full"), QByteArray(100000, 'x'));
    ASSERT_TRUE(fullFailure);
    EXPECT_FALSE(fullFailure->reason.isEmpty());
}

TEST_F(ReportFile, AFolderClosedToTheUserSendsTheReportToDocuments) {
    const QString programDir = path("bin");
    const QString documents = path("home/Документы");
    ASSERT_TRUE(QDir().mkpath(programDir));
    const ReportPlace place{programDir, documents, [&](const QString& folder) {
                                return folder == programDir ? EROFS : 0;
                            }};
    const PrintOutcome outcome = printReport(place, "report\r\n");
    ASSERT_FALSE(outcome.failure);
    EXPECT_EQ(outcome.path, documents + "/Sample.txt");
    EXPECT_EQ(readAll(outcome.path), "report\r\n");
    EXPECT_FALSE(QFile::exists(programDir + "/Sample.txt"));
}

TEST_F(ReportFile, NoFallbackWhenTheDocumentsFolderCannotBeMade) {
    writeAll(path("home"), "a file where a folder should be");
    const ReportPlace place{path("bin"), path("home/Documents"),
                            [](const QString&) { return EACCES; }};
    const PrintOutcome outcome = printReport(place, "report\r\n");
    ASSERT_TRUE(outcome.failure);
    EXPECT_TRUE(outcome.failure->reason.contains(path("home/Documents")));
}

TEST_F(ReportFile, OtherFailuresStayWithTheProgramFolder) {
    ASSERT_TRUE(QDir().mkpath(path("bin/Sample.txt")));
    const ReportPlace place{path("bin"), path("docs"), folderWriteError};
    const PrintOutcome outcome = printReport(place, "report\r\n");
    ASSERT_TRUE(outcome.failure);
    EXPECT_EQ(outcome.path, path("bin/Sample.txt"));
    EXPECT_FALSE(QFile::exists(path("docs")));
}

TEST_F(ReportFile, ReadOnlyFolderIsSeenAsClosed) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "root may write into any folder; the injected check above covers it";
    ASSERT_TRUE(QDir().mkpath(path("bin")));
    QFile::setPermissions(path("bin"), QFile::ReadOwner | QFile::ExeOwner);
    EXPECT_EQ(folderWriteError(path("bin")), EACCES);
    QFile::setPermissions(path("bin"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

} // namespace
} // namespace zulcalc
