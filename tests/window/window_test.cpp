#include "tests/calc/test_support.h"
#include "window/controls.h"
#include "window/fonts.h"
#include "window/main_window.h"
#include "window/message_boxes.h"

#include <QAction>
#include <QApplication>
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

#include <memory>

using namespace zulcalc;
using testing_support::Row;

namespace {

class RecordingBoxes : public MessageBoxes {
  public:
    void warning(QWidget*, const QString& title, const QString& text) override {
        shown << QStringList{"warning", title, text, {}};
    }
    void error(QWidget*, const QString& title, const QString& text,
               const QString& details) override {
        shown << QStringList{"error", title, text, details};
    }
    QList<QStringList> shown; // kind, title, text, details
};

class RecordingOpener : public FileOpener {
  public:
    void open(const QString& path) override { opened << path; }
    QStringList opened;
};

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

const char* const kRoomBoxes[] = {
    "txtЗначение_Длина",  "txtЗначение_Ширина",   "txtЗначение_расстояния_оповещатель_слушатель",
    "txtЗначение_Высота", "txtЗначение_Мощность", "txtЗначение_Чувствительность",
    "txtЗначение_Уровень"};
const char* const kLevelBoxes[] = {"txtЗначение_звука_на_3_м",
                                   "txtЗначение_уровня_звука_в_расчетной_точке"};

} // namespace

Q_DECLARE_METATYPE(Row)

class WindowTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    RecordingBoxes m_boxes;
    RecordingOpener m_opener;
    std::unique_ptr<MainWindow> m_window;

    QWidget* control(const char* name) const {
        auto* found = m_window->findChild<QWidget*>(QString::fromUtf8(name));
        if (!found)
            qFatal("no control %s", name);
        return found;
    }
    template <class T> T* control(const char* name) const {
        return qobject_cast<T*>(control(name));
    }
    QString text(const char* name) const { return control<QLineEdit>(name)->text(); }
    QColor colour(const char* name, QPalette::ColorRole role = QPalette::Base) const {
        return control(name)->palette().color(role);
    }
    void type(const char* name, const QString& value) { control<QLineEdit>(name)->setText(value); }
    // The room of a row of calc/present.tsv, from its second field on.
    void enterRoom(const Row& row) {
        for (std::size_t i = 0; i < 7; ++i)
            type(kRoomBoxes[i], QString::fromStdString(row[i + 1]));
    }
    void click(const char* name) {
        QTest::mouseClick(control<QAbstractButton>(name), Qt::LeftButton);
    }
    void print() { m_window->findChild<QAction*>("пункт_меню_печать")->trigger(); }
    // A folder name with spaces and Cyrillic letters, as offices name them.
    QString programDir() const { return m_dir.filePath("Мои проекты/зал 2"); }
    QString samplePath() const { return programDir() + "/Sample.txt"; }

    void makeWindow(std::function<bool(const QString&)> writable = folderIsWritable) {
        m_window = std::make_unique<MainWindow>(WindowServices{
            m_boxes, m_opener, {programDir(), m_dir.filePath("home/Документы"), writable}});
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }

  private slots:
    void initTestCase() { useBundledFonts(); }
    void init() {
        m_boxes.shown.clear();
        m_opener.opened.clear();
        QDir(m_dir.path()).removeRecursively();
        QVERIFY(QDir().mkpath(programDir()));
        makeWindow();
    }
    void cleanup() { m_window.reset(); }

    void everyControlWhereTheTableSays() {
        QCOMPARE(m_window->objectName() + m_window->windowTitle(),
                 QString("frmРасчетЗУЛРасчет ЗУЛ"));
        for (const ControlSpec& spec : kControls) {
            QWidget* widget = control(spec.name);
            QCOMPARE(widget->geometry(),
                     QRect(spec.left / 15, spec.top / 15, spec.width / 15, spec.height / 15));
            QCOMPARE(widget->parentWidget()->objectName(), QString::fromUtf8(spec.frame));
            if (auto* label = qobject_cast<QLabel*>(widget))
                QCOMPARE(label->text(), QString::fromUtf8(spec.caption));
        }
        // A few straight from the layout drawing, trailing spaces included.
        QCOMPARE(control("frmРезультат")->geometry(), QRect(672, 48, 393, 425));
        QCOMPARE(control<QLabel>("lblФон")->text(),
                 QString("Уровень фонового шума в помещении, дБ "));
        QCOMPARE(control<QGroupBox>("frmИсходные_данные")->title(), QString("Исходные данные"));
        QCOMPARE(control<QPushButton>("CmdРасчет")->text(), QString("Расчет"));
        QCOMPARE(control<QRadioButton>("OptПотолочный")->text(), QString("Потолочный"));
        QVERIFY(control<QLineEdit>("txtЗначение_звука_на_3_м")->isReadOnly());
        QVERIFY(control<QPlainTextEdit>("txtЗначение_Адрес_здания"));
        QCOMPARE(m_window->findChild<QAction*>("пункт_меню_печать")->text(), QString("Печать"));
        // Every control shows (15975 x 9015 twips below the menu); no resizing.
        QVERIFY(m_window->centralWidget()->width() >= 1065 &&
                m_window->centralWidget()->height() >= 601);
        QCOMPARE(m_window->minimumSize(), m_window->maximumSize());
        // The face that travels with the program, whatever the system has.
        QCOMPARE(QFontInfo(control("lblВысота")->font()).family(),
                 QString("DejaVu Sans Condensed"));
        const QFontInfo title(control("lblРасчетЗУЛ")->font());
        QVERIFY(title.bold() && title.pixelSize() == 16); // 12 pt
    }

    // Each caption fits its label, and wraps the same with no system font at
    // all as with the system's: the run with them writes down how, and the
    // run without compares.
    void everyCaptionFitsItsLabel() {
        QStringList wrapped;
        for (const ControlSpec& spec : kControls) {
            auto* label = qobject_cast<QLabel*>(control(spec.name));
            if (!label)
                continue;
            const QRect area = label->contentsRect();
            const QRect needed = label->fontMetrics().boundingRect(QRect(0, 0, area.width(), 10000),
                                                                   Qt::TextWordWrap, label->text());
            QVERIFY2(QRect(QPoint(), area.size()).contains(needed), qPrintable(spec.name));
            wrapped << QString("%1 %2x%3").arg(spec.name).arg(needed.width()).arg(needed.height());
        }
        QFile record(qEnvironmentVariable("ZULCALC_CAPTIONS_WRAPPED"));
        if (qEnvironmentVariableIsSet("FONTCONFIG_FILE") && record.open(QIODevice::ReadOnly))
            QCOMPARE(wrapped, QString::fromUtf8(record.readAll()).split('\n'));
        else if (record.open(QIODevice::WriteOnly))
            record.write(wrapped.join('\n').toUtf8());
    }

    void everyBoxIsNamedByItsCaptionForAScreenReader() {
        for (const auto& [labelName, boxName] : kCaptionedBoxes) {
            QCOMPARE(control<QLabel>(labelName)->buddy(), control(boxName));
            QCOMPARE(control(boxName)->accessibleName(), control<QLabel>(labelName)->text());
        }
        for (const char* name : {"CmdРасчет", "OptНастенный"})
            QCOMPARE(control(name)->accessibleName(), control<QAbstractButton>(name)->text());
    }

    // In the order of the Tab column, round to the start; the option group is
    // one stop, at its selected button; labels and frames are never visited.
    void tabVisitsTheControlsInOrder() {
        std::vector<std::pair<int, QString>> order;
        for (const ControlSpec& spec : kControls)
            if (control(spec.name)->focusPolicy() & Qt::TabFocus && spec.tab != 29)
                order.emplace_back(spec.tab, QString::fromUtf8(spec.name));
        std::sort(order.begin(), order.end());
        QCOMPARE(order.size(), std::size_t(24));
        for (std::size_t i = 0; i <= order.size(); ++i) {
            QCOMPARE(QApplication::focusWidget()->objectName(), order[i % order.size()].second);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
    }

    void optionButtonsAreOneGroup() {
        auto* wall = control<QRadioButton>("OptНастенный");
        auto* ceiling = control<QRadioButton>("OptПотолочный");
        QVERIFY(wall->isChecked() && !ceiling->isChecked());
        click("OptПотолочный");
        click("OptПотолочный"); // cannot clear both
        QVERIFY(!wall->isChecked() && ceiling->isChecked());
        QTest::keyClick(ceiling, Qt::Key_Up);
        QVERIFY(wall->isChecked() && !ceiling->isChecked());
    }

    void typingFeedsTheInputsAndResultBoxesRefuseIt() {
        auto* height = control<QLineEdit>("txtЗначение_Высота");
        QTest::keyClicks(height, "7");
        QCOMPARE(m_window->inputs().H, 7.0f);
        QTest::keyClick(height, Qt::Key_Backspace);
        QCOMPARE(m_window->inputs().H, 0.0f);
        QTest::keyClicks(height, "2,5"); // the comma ends the number, whatever the locale
        QCOMPARE(m_window->inputs().H, 2.0f);
        QTest::keyClicks(control("txtЗначение_Площадь"), "99");
        QCOMPARE(m_window->inputs().L, 0.0f);
        QTest::keyClicks(control("txtЗначение_звука_на_3_м"), "123");
        QCOMPARE(text("txtЗначение_звука_на_3_м"), QString());
    }

    void calculateShowsResultsColoursAndWarnings_data() {
        QTest::addColumn<Row>("row");
        for (const Row& row : testing_support::readTable("calc/present.tsv"))
            QTest::newRow(row[0].c_str()) << row;
    }

    // Each worked example through the window, in a dark theme: its light text
    // must not stay on the boxes the program paints white or red.
    void calculateShowsResultsColoursAndWarnings() {
        QFETCH(Row, row);
        const QPalette light = QApplication::palette();
        QPalette dark = light;
        dark.setColor(QPalette::Base, QColor(0x20, 0x20, 0x20));
        dark.setColor(QPalette::Text, QColor(0xee, 0xee, 0xee));
        QApplication::setPalette(dark);
        makeWindow(); // started in that theme
        if (row[8] == "ceiling")
            click("OptПотолочный");
        enterRoom(row);
        click("CmdРасчет");
        QApplication::setPalette(light);

        QStringList shown, expected;
        for (int i = 0; i < 6; ++i) {
            shown << text(std::string(resultBoxName(ResultBox(i))).c_str());
            expected << QString::fromStdString(row[10 + i])
                            .replace(row[9].c_str(), QLocale().decimalPoint());
        }
        QCOMPARE(shown, expected);
        QStringList warnings, expectedWarnings;
        for (const QStringList& box : m_boxes.shown)
            warnings << box.mid(0, 3).join('|');
        for (const QString& name : QString::fromStdString(row[18]).split(',', Qt::SkipEmptyParts))
            if (name != "-")
                expectedWarnings << "warning|Ошибка вычислений!|" +
                                        QString::fromStdString(
                                            warningPrompt(
                                                testing_support::warningNamed(name.toStdString())))
                                            .replace('\r', '\n');
        QCOMPARE(warnings, expectedWarnings);
        for (int i = 0; i < 2; ++i) {
            QCOMPARE(colour(kLevelBoxes[i]), QColor(row[16 + i] == "R" ? Qt::red : Qt::white));
            QCOMPARE(colour(kLevelBoxes[i], QPalette::Text), QColor(Qt::black));
        }
        // What the program does not paint keeps the theme's colours.
        QCOMPARE(colour("txtЗначение_колличества_оповещателей", QPalette::Text),
                 dark.color(QPalette::Text));
    }

    void aFaultSaysWhatToDoAndChangesNothing_data() {
        QTest::addColumn<Row>("row");
        for (const Row& row : testing_support::readTable("window/faults.tsv", true))
            QTest::newRow(row[0].c_str()) << row;
    }

    void aFaultSaysWhatToDoAndChangesNothing() {
        QFETCH(Row, row);
        if (row[1] != "-") {
            enterRoom(Row{{"", "10", "6", "3", "3", "1", "90", "60"}});
            type(row[1].c_str(), QString::fromStdString(row[2]).chopped(1).mid(1));
        }
        click("CmdРасчет");
        if (row[3] == "-") { // runs, perhaps with warnings
            QVERIFY(m_boxes.shown.isEmpty() || m_boxes.shown[0][0] == "warning");
            QVERIFY(!text(kLevelBoxes[0]).isEmpty());
            return;
        }
        QCOMPARE(m_boxes.shown.size(), 1);
        QCOMPARE(m_boxes.shown[0].mid(0, 3),
                 (QStringList{"error", "Расчет невозможен",
                              QString::fromStdString(row[3]).replace("\\n", "\n")}));
        QVERIFY(m_boxes.shown[0][3].contains(QRegularExpression("шаг \\d+\\)|одинарной точности")));
        for (int i = 0; i < 6; ++i)
            QCOMPARE(text(std::string(resultBoxName(ResultBox(i))).c_str()), QString());
        QCOMPARE(control(kLevelBoxes[0])->palette(), m_window->palette());
    }

    void clearEmptiesTheBoxesButKeepsColoursMountAndDescription() {
        click("OptПотолочный");
        type("txtЗначение_шифр_проекта", "П-1");
        type("txtЗначение_Площадь", "60");
        enterRoom(Row{{"", "10", "6", "3", "3", "1", "20", "60"}}); // too quiet: red boxes
        click("CmdРасчет");
        const Расчетные_величины results = m_window->results();
        click("CmdОчистить");
        for (const char* name : kClearedBoxes)
            QCOMPARE(text(name), QString());
        for (Input input : kAllInputs)
            QCOMPARE(valueOf(m_window->inputs(), input), 0.0f);
        QCOMPARE(colour(kLevelBoxes[0]), QColor(Qt::red));
        QVERIFY(control<QRadioButton>("OptПотолочный")->isChecked());
        QCOMPARE(text("txtЗначение_шифр_проекта") + text("txtЗначение_Площадь"), QString("П-160"));
        QVERIFY(m_window->results() == results);
    }

    void printAppendsOpensAndEnds_data() {
        QTest::addColumn<int>("key"); // 0: the menu item
        QTest::newRow("menu") << 0;
        QTest::newRow("Ctrl+P") << int(Qt::Key_P);
        QTest::newRow("Ctrl+P, Russian layout") << 0x0417; // З
    }

    void printAppendsOpensAndEnds() {
        QFETCH(int, key);
        type("txtЗначение_шифр_проекта", "П-1");
        if (key)
            QTest::sendKeyEvent(QTest::Click, m_window.get(), Qt::Key(key), QChar(key).toLower(),
                                Qt::ControlModifier);
        else
            print();
        QVERIFY(!m_window->isVisible());
        QCOMPARE(m_opener.opened, QStringList{samplePath()});
        const QByteArray bytes = readFile(samplePath());
        QVERIFY(bytes.startsWith("\xD0\xE0\xF1\xF7\xE5\xF2")); // "Расчет" in Windows-1251
        QVERIFY(bytes.contains(": \xCF-1\r\n"));
        QCOMPARE(bytes.count("\r\n"), 23);
    }

    void aFailedPrintKeepsTheWindowAndWhatWasTyped() {
        QVERIFY(QDir().mkpath(samplePath())); // a folder where the report goes
        type("txtЗначение_шифр_проекта", "П-1");
        type("txtЗначение_Длина", "10");
        print();
        QVERIFY(m_window->isVisible() && m_opener.opened.isEmpty());
        QCOMPARE(m_boxes.shown.size(), 1);
        QCOMPARE(m_boxes.shown[0][0], QString("error"));
        QVERIFY(m_boxes.shown[0][2].contains(samplePath()) &&
                m_boxes.shown[0][2].contains("Причина: "));
        QCOMPARE(text("txtЗначение_шифр_проекта") + text("txtЗначение_Длина"), QString("П-110"));
    }

    void anInstalledCopyPrintsIntoTheDocumentsFolder() {
        makeWindow([this](const QString& folder) { return folder != programDir(); });
        print();
        const QString report = m_dir.filePath("home/Документы/Sample.txt");
        QCOMPARE(m_opener.opened, QStringList{report});
        QVERIFY(readFile(report).startsWith("\xD0\xE0\xF1\xF7\xE5\xF2"));
        QVERIFY(!QFile::exists(samplePath()));
    }

    void exitEndsWithoutTouchingTheReport() {
        click("CmdВыход");
        QVERIFY(!m_window->isVisible() && m_opener.opened.isEmpty());
        QVERIFY(!QFile::exists(samplePath()));
    }

    // The real boxes: one OK button, the details folded away, and each line
    // of a warning (the code of practice's wording) whole on a line of its own.
    void realMessageBoxes() {
        ModalMessageBoxes real;
        QStringList seen;
        const auto answer = [&] {
            QTimer::singleShot(0, [&] {
                auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                auto* label = box->findChild<QLabel*>("qt_msgbox_label");
                int widest = 0;
                for (const QString& line : box->text().split('\n'))
                    widest = std::max(widest, label->fontMetrics().horizontalAdvance(line));
                seen << QString("%1|%2|%3|%4")
                            .arg(box->icon())
                            .arg(box->standardButtons() == QMessageBox::Ok)
                            .arg(label->contentsRect().width() >= widest)
                            .arg(box->detailedText());
                box->accept();
            });
        };
        // A prompt that fits the offscreen screen's 800 pixels.
        const QString prompt =
            QString::fromStdString(warningPrompt(Warning::P1Low)).replace('\r', '\n');
        answer();
        real.warning(m_window.get(), "Ошибка вычислений!", prompt);
        answer();
        real.error(m_window.get(), "Расчет невозможен", "Заполните: Высота", "шаг 4");
        QCOMPARE(seen, (QStringList{QString("%1|1|1|").arg(QMessageBox::Warning),
                                    QString("%1|1|1|шаг 4").arg(QMessageBox::Critical)}));
    }
};

QTEST_MAIN(WindowTest)
#include "window_test.moc"
