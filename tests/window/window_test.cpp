#include "window/controls.h"
#include "window/main_window.h"
#include "window/message_boxes.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <cerrno>
#include <csignal>
#include <memory>
#include <sys/resource.h>
#include <unistd.h>

using namespace zulcalc;

namespace {

struct RecordedBox {
    QString kind, title, text;
};

class RecordingBoxes : public MessageBoxes {
  public:
    void warning(QWidget*, const QString& title, const QString& text) override {
        shown.push_back({"warning", title, text});
    }
    void error(QWidget*, const QString& title, const QString& text) override {
        shown.push_back({"error", title, text});
    }
    QStringList firstLines() const {
        QStringList lines;
        for (const auto& box : shown)
            lines << box.text.section('\n', 0, 0);
        return lines;
    }
    std::vector<RecordedBox> shown;
};

class RecordingOpener : public FileOpener {
  public:
    void open(const QString& path) override { opened << path; }
    QStringList opened;
};

enum class Failure { Directory, DiskFull, ReadOnlyFile, ShortWrite };

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}

struct Room {
    const char *L, *W, *r, *H, *P, *S, *N;
};

} // namespace

class WindowTest : public QObject {
    Q_OBJECT

  private:
    QTemporaryDir m_dir;
    RecordingBoxes m_boxes;
    RecordingOpener m_opener;
    std::unique_ptr<MainWindow> m_window;

    template <class T = QWidget> T* control(const char* name) const {
        auto* found = m_window->findChild<T*>(QString::fromUtf8(name));
        if (!found)
            qFatal("no control %s", name);
        return found;
    }
    QString text(const char* name) const { return control<QLineEdit>(name)->text(); }
    QColor colour(const char* name) const {
        return control<QLineEdit>(name)->palette().color(QPalette::Base);
    }
    void type(const char* name, const char* value) {
        auto* box = control<QLineEdit>(name);
        box->clear();
        QTest::keyClicks(box, QString::fromUtf8(value));
    }
    void enterRoom(const Room& room) {
        type("txtЗначение_Длина", room.L);
        type("txtЗначение_Ширина", room.W);
        type("txtЗначение_расстояния_оповещатель_слушатель", room.r);
        type("txtЗначение_Высота", room.H);
        type("txtЗначение_Мощность", room.P);
        type("txtЗначение_Чувствительность", room.S);
        type("txtЗначение_Уровень", room.N);
    }
    void click(const char* name) {
        QTest::mouseClick(control<QAbstractButton>(name), Qt::LeftButton);
    }
    QString programDir() const { return m_dir.filePath("bin"); }
    QString samplePath() const { return m_dir.filePath("bin/Sample.txt"); }

    void makeWindow(ReportPlace place) {
        m_window =
            std::make_unique<MainWindow>(WindowServices{m_boxes, m_opener, std::move(place)});
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }

  private slots:
    void init() {
        m_boxes.shown.clear();
        m_opener.opened.clear();
        QDir().mkpath(programDir());
        QFile::remove(samplePath());
        makeWindow({programDir(), m_dir.filePath("docs"), folderWriteError});
    }
    void cleanup() { m_window.reset(); }

    void everyControlWhereTheTableSaysWithItsCaption() {
        QCOMPARE(m_window->objectName(), QString("frmРасчетЗУЛ"));
        QCOMPARE(m_window->windowTitle(), QString("Расчет ЗУЛ"));
        for (const ControlSpec& spec : kControls) {
            QWidget* widget = control(spec.name);
            QCOMPARE(widget->geometry(),
                     QRect(spec.left / 15, spec.top / 15, spec.width / 15, spec.height / 15));
            const QString parent = spec.frame ? QString::fromUtf8(spec.frame) : QString();
            QCOMPARE(widget->parentWidget()->objectName(), parent);
            if (auto* label = qobject_cast<QLabel*>(widget))
                QCOMPARE(label->text(), QString::fromUtf8(spec.caption));
        }
        // A few straight from the layout drawing, trailing spaces included.
        QCOMPARE(control("frmРезультат")->geometry(), QRect(672, 48, 393, 425));
        QCOMPARE(control<QLabel>("lblФон")->text(),
                 QString("Уровень фонового шума в помещении, дБ "));
        QVERIFY(control<QLabel>("LblПримечание")->text().endsWith("2.3 м. "));
        QCOMPARE(control<QGroupBox>("frmИсходные_данные")->title(), QString("Исходные данные"));
        QCOMPARE(control<QPushButton>("CmdРасчет")->text(), QString("Расчет"));
        QVERIFY(control<QLineEdit>("txtЗначение_звука_на_3_м")->isReadOnly());
        QVERIFY(control<QPlainTextEdit>("txtЗначение_Адрес_здания"));
        QCOMPARE(control<QLabel>("lblРасчетЗУЛ")->font().bold(), true);
        auto* print = m_window->findChild<QAction*>("пункт_меню_печать");
        QVERIFY(print);
        QCOMPARE(print->text(), QString("Печать"));
        QVERIFY(print->shortcut().isEmpty());
        // The window shows every control: 15975 x 9015 twips below the menu.
        QVERIFY(m_window->centralWidget()->width() >= 1065);
        QVERIFY(m_window->centralWidget()->height() >= 601);
    }

    void everyCaptionFitsItsLabel() {
        for (const ControlSpec& spec : kControls) {
            auto* label = qobject_cast<QLabel*>(control(spec.name));
            if (!label)
                continue;
            const QRect area = label->contentsRect();
            const QRect needed = label->fontMetrics().boundingRect(
                QRect(0, 0, area.width(), 10000), Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop,
                label->text());
            QVERIFY2(needed.width() <= area.width() && needed.height() <= area.height(),
                     qPrintable(QString("%1 needs %2x%3 in %4x%5")
                                    .arg(label->objectName())
                                    .arg(needed.width())
                                    .arg(needed.height())
                                    .arg(area.width())
                                    .arg(area.height())));
        }
        QCOMPARE(QFontInfo(control("lblВысота")->font()).family(),
                 QString("DejaVu Sans Condensed"));
    }

    void everyBoxIsNamedByItsCaptionForAScreenReader() {
        for (const auto& [labelName, boxName] : kCaptionedBoxes) {
            auto* label = control<QLabel>(labelName);
            QCOMPARE(label->buddy(), control(boxName));
            QCOMPARE(control(boxName)->accessibleName(), label->text());
        }
        QCOMPARE(control("txtЗначение_Высота")->accessibleName(), QString("Высота потолка, м."));
        for (const char* name : {"CmdРасчет", "CmdОчистить", "CmdВыход", "OptНастенный"})
            QCOMPARE(control(name)->accessibleName(), control<QAbstractButton>(name)->text());
    }

    void tabVisitsTheControlsInOrder() {
        QCOMPARE(QApplication::focusWidget(), control("txtЗначение_шифр_проекта"));
        const QStringList expected = {"txtЗначение_Наименование_здания",
                                      "txtЗначение_Адрес_здания",
                                      "txtЗначение_№_этажа",
                                      "txtЗначение_№_помещения",
                                      "txtНаименование_помещения",
                                      "txtЗначение_Площадь",
                                      "txtЗначение_Высота",
                                      "txtЗначение_Ширина",
                                      "txtЗначение_Длина",
                                      "txtЗначение_Чувствительность",
                                      "txtЗначение_Мощность",
                                      "txtЗначение_Уровень",
                                      "OptНастенный",
                                      "txtЗначение_требуемого_уровня_в_точке",
                                      "txtЗначение_звука_на_3_м",
                                      "txtЗначение_уровня_звука_в_расчетной_точке",
                                      "txtЗначение_колличества_оповещателей",
                                      "txtЗначение_расстояния_до_стены",
                                      "txtЗначение_расстояния_между_оповещателями",
                                      "CmdОчистить",
                                      "CmdВыход",
                                      "CmdРасчет",
                                      "txtЗначение_расстояния_оповещатель_слушатель",
                                      "txtЗначение_шифр_проекта"};
        QStringList visited;
        for (int i = 0; i < expected.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(visited, expected);
    }

    void optionButtonsAreOneGroup() {
        auto* wall = control<QRadioButton>("OptНастенный");
        auto* ceiling = control<QRadioButton>("OptПотолочный");
        QVERIFY(wall->isChecked() && !ceiling->isChecked());
        click("OptПотолочный");
        QVERIFY(!wall->isChecked() && ceiling->isChecked());
        click("OptПотолочный"); // cannot clear both
        QVERIFY(ceiling->isChecked());
        ceiling->setFocus();
        QTest::keyClick(ceiling, Qt::Key_Up);
        QVERIFY(wall->isChecked() && !ceiling->isChecked());
    }

    void typingFeedsTheInputsAndResultBoxesRefuseIt() {
        auto* height = control<QLineEdit>("txtЗначение_Высота");
        QTest::keyClicks(height, "7");
        QCOMPARE(m_window->inputs().H, 7.0f);
        QTest::keyClick(height, Qt::Key_Backspace);
        QCOMPARE(m_window->inputs().H, 0.0f);
        // A comma ends the number whatever the locale says.
        QTest::keyClicks(height, "2,5");
        QCOMPARE(m_window->inputs().H, 2.0f);
        QTest::keyClicks(control("txtЗначение_Площадь"), "99");
        QCOMPARE(m_window->inputs().L, 0.0f);
        QTest::keyClicks(control("txtЗначение_звука_на_3_м"), "123");
        QCOMPARE(text("txtЗначение_звука_на_3_м"), QString());
    }

    void calculateShowsResultsAndWarningsInOrder_data() {
        QTest::addColumn<bool>("ceiling");
        QTest::addColumn<QStringList>("shown"); // required, 3 m, listener, count, wall, spacing
        QTest::addColumn<QStringList>("warnings");
        QTest::addColumn<bool>("level3mRed");
        QTest::addColumn<bool>("listenerRed");
        const QString sep = QLocale().decimalPoint();
        QTest::newRow("wall") << false << QStringList{"75", "127", "131", "22", "1", "2"}
                              << QStringList{"Ошибка в расчете! (P3)", "Ошибка в расчете! (P1a)",
                                             "Ошибка в расчете! (P3a)"}
                              << true << true;
        QTest::newRow("ceiling") << true << QStringList{"75", "127",           "131",
                                                        "3",  "2" + sep + "3", "4" + sep + "6"}
                                 << QStringList{"Ошибка в расчете! (P1)", "Ошибка в расчете! (P3)",
                                                "Ошибка в расчете! (P1a)"}
                                 << true << true;
    }

    void calculateShowsResultsAndWarningsInOrder() {
        QFETCH(bool, ceiling);
        QFETCH(QStringList, shown);
        QFETCH(QStringList, warnings);
        QFETCH(bool, level3mRed);
        QFETCH(bool, listenerRed);
        if (ceiling)
            click("OptПотолочный");
        enterRoom({"10", "6", "2", "3.5", "10", "127", "60"});
        click("CmdРасчет");
        const QStringList got = {text("txtЗначение_требуемого_уровня_в_точке"),
                                 text("txtЗначение_звука_на_3_м"),
                                 text("txtЗначение_уровня_звука_в_расчетной_точке"),
                                 text("txtЗначение_колличества_оповещателей"),
                                 text("txtЗначение_расстояния_до_стены"),
                                 text("txtЗначение_расстояния_между_оповещателями")};
        QCOMPARE(got, shown);
        QCOMPARE(m_boxes.firstLines(), warnings);
        for (const auto& box : m_boxes.shown) {
            QCOMPARE(box.title, QString("Ошибка вычислений!"));
            QCOMPARE(box.text.count('\n'), 4); // five lines
            QVERIFY(!box.text.contains('\r'));
        }
        QCOMPARE(colour("txtЗначение_звука_на_3_м") == QColor(255, 0, 0), level3mRed);
        QCOMPARE(colour("txtЗначение_уровня_звука_в_расчетной_точке") == QColor(255, 0, 0),
                 listenerRed);
    }

    void passingLevelsArePaintedWhite() {
        enterRoom({"10", "6", "3", "3", "1", "90", "60"});
        click("CmdРасчет");
        QVERIFY(m_boxes.shown.empty());
        QCOMPARE(colour("txtЗначение_звука_на_3_м"), QColor(Qt::white));
        QCOMPARE(text("txtЗначение_уровня_звука_в_расчетной_точке"), QString("86"));
    }

    void calculateOnTheFreshWindowReportsTheFaultAndChangesNothing() {
        const QColor before = colour("txtЗначение_звука_на_3_м");
        click("CmdРасчет");
        QCOMPARE(m_boxes.shown.size(), std::size_t(1));
        QCOMPARE(m_boxes.shown[0].kind, QString("error"));
        QVERIFY(m_boxes.shown[0].text.contains(
            "Расстояние от оповещателя до слушателя должно быть больше 0"));
        for (const char* name : kClearedBoxes)
            QCOMPARE(text(name), QString());
        QCOMPARE(colour("txtЗначение_звука_на_3_м"), before);
        QVERIFY(m_window->isVisible());
    }

    void clearEmptiesTheBoxesButKeepsColoursMountAndDescription() {
        click("OptПотолочный");
        control<QLineEdit>("txtЗначение_шифр_проекта")->insert("П-1"); // keyClicks takes ASCII only
        QTest::keyClicks(control("txtЗначение_Площадь"), "60");
        enterRoom({"10", "6", "2", "3.5", "10", "127", "60"});
        click("CmdРасчет");
        const Расчетные_величины results = m_window->results();
        click("CmdОчистить");
        for (const char* name : kClearedBoxes)
            QCOMPARE(text(name), QString());
        for (Input input : kAllInputs)
            QCOMPARE(valueOf(m_window->inputs(), input), 0.0f);
        QCOMPARE(colour("txtЗначение_звука_на_3_м"), QColor(255, 0, 0));
        QVERIFY(control<QRadioButton>("OptПотолочный")->isChecked());
        QCOMPARE(text("txtЗначение_шифр_проекта"), QString("П-1"));
        QCOMPARE(text("txtЗначение_Площадь"), QString("60"));
        QVERIFY(m_window->results() == results);
    }

    void printAppendsOpensAndEnds() {
        control<QLineEdit>("txtЗначение_шифр_проекта")->insert("П-1"); // keyClicks takes ASCII only
        m_window->findChild<QAction*>("пункт_меню_печать")->trigger();
        QVERIFY(!m_window->isVisible());
        QCOMPARE(m_opener.opened, QStringList{samplePath()});
        QFile file(samplePath());
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QVERIFY(bytes.startsWith("\xD0\xE0\xF1\xF7\xE5\xF2")); // "Расчет" in Windows-1251
        QVERIFY(bytes.contains(": \xCF-1\r\n"));
        QCOMPARE(bytes.count("\r\n"), 23);
    }

    void aFailedPrintKeepsTheFileTheWindowAndWhatWasTyped_data() {
        QTest::addColumn<int>("failure");
        QTest::newRow("Sample.txt is a folder") << int(Failure::Directory);
        QTest::newRow("disk full") << int(Failure::DiskFull);
        QTest::newRow("read-only file") << int(Failure::ReadOnlyFile);
        QTest::newRow("cut off midway") << int(Failure::ShortWrite);
    }

    void aFailedPrintKeepsTheFileTheWindowAndWhatWasTyped() {
        QFETCH(int, failure);
        const QByteArray before(1000, 'x');
        rlimit oldLimit{};
        switch (Failure(failure)) {
        case Failure::Directory:
            QVERIFY(QDir().mkpath(samplePath()));
            break;
        case Failure::DiskFull:
            QVERIFY(QFile::link("/dev/full", samplePath()));
            break;
        case Failure::ReadOnlyFile:
            if (::geteuid() == 0)
                QSKIP("root writes read-only files; tools/test.sh reruns this as nobody");
            writeFile(samplePath(), before);
            QFile::setPermissions(samplePath(), QFile::ReadOwner);
            break;
        case Failure::ShortWrite:
            writeFile(samplePath(), before);
            // The file may grow by 500 bytes: the report is cut off there.
            ::signal(SIGXFSZ, SIG_IGN);
            ::getrlimit(RLIMIT_FSIZE, &oldLimit);
            rlimit limit = oldLimit;
            limit.rlim_cur = before.size() + 500;
            ::setrlimit(RLIMIT_FSIZE, &limit);
            break;
        }
        enterRoom({"10", "6", "3", "3", "1", "90", "60"});
        control<QLineEdit>("txtЗначение_шифр_проекта")->insert("П-1");
        m_window->findChild<QAction*>("пункт_меню_печать")->trigger();
        if (Failure(failure) == Failure::ShortWrite)
            ::setrlimit(RLIMIT_FSIZE, &oldLimit);

        QVERIFY(m_window->isVisible());
        QVERIFY(m_opener.opened.isEmpty());
        QCOMPARE(m_boxes.shown.size(), std::size_t(1));
        QCOMPARE(m_boxes.shown[0].kind, QString("error"));
        QVERIFY(m_boxes.shown[0].text.contains(samplePath()));
        QVERIFY(m_boxes.shown[0].text.contains("Причина: "));
        QCOMPARE(text("txtЗначение_шифр_проекта"), QString("П-1"));
        QCOMPARE(text("txtЗначение_Длина"), QString("10"));
        if (Failure(failure) == Failure::ReadOnlyFile || Failure(failure) == Failure::ShortWrite) {
            QFile::setPermissions(samplePath(), QFile::ReadOwner | QFile::WriteOwner);
            QCOMPARE(readFile(samplePath()), before);
        }
        QFile::remove(samplePath());
        QDir(samplePath()).removeRecursively();
    }

    void anInstalledCopyPrintsIntoTheDocumentsFolder() {
        const QString documents = m_dir.filePath("home/Документы");
        makeWindow({programDir(), documents,
                    [this](const QString& folder) { return folder == programDir() ? EACCES : 0; }});
        m_window->findChild<QAction*>("пункт_меню_печать")->trigger();
        QVERIFY(!m_window->isVisible());
        QCOMPARE(m_opener.opened, QStringList{documents + "/Sample.txt"});
        QVERIFY(readFile(documents + "/Sample.txt").startsWith("\xD0\xE0\xF1\xF7\xE5\xF2"));
        QVERIFY(!QFile::exists(samplePath()));
    }

    void aFolderNameWithSpacesAndCyrillicLetters() {
        const QString folder = m_dir.filePath("Мои проекты/зал 2");
        QVERIFY(QDir().mkpath(folder));
        makeWindow({folder, m_dir.filePath("docs"), folderWriteError});
        m_window->findChild<QAction*>("пункт_меню_печать")->trigger();
        QVERIFY(m_boxes.shown.empty());
        QCOMPARE(m_opener.opened, QStringList{folder + "/Sample.txt"});
        QCOMPARE(readFile(folder + "/Sample.txt").count("\r\n"), 23);
    }

    void exitEndsWithoutTouchingTheReport() {
        click("CmdВыход");
        QVERIFY(!m_window->isVisible());
        QVERIFY(!QFile::exists(samplePath()));
        QVERIFY(m_opener.opened.isEmpty());
    }

    void warningBoxShowsFiveLinesWithOneOkButton() {
        ModalMessageBoxes real;
        QString seenText;
        QMessageBox::Icon seenIcon = QMessageBox::NoIcon;
        int buttons = 0;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            seenText = box->text();
            seenIcon = box->icon();
            buttons = static_cast<int>(box->buttons().size());
            box->accept();
        });
        real.warning(m_window.get(), "Ошибка вычислений!", "1\n2\n3\n4\n5");
        QCOMPARE(seenIcon, QMessageBox::Warning);
        QCOMPARE(buttons, 1);
        QCOMPARE(seenText, QString("1\n2\n3\n4\n5"));
    }
};

QTEST_MAIN(WindowTest)
#include "window_test.moc"
