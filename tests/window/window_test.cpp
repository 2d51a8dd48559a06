#include "report/utf8.h"
#include "tests/calc/test_support.h"
#include "tests/report/files.h"
#include "window/controls.h"
#include "window/desktop_opener.h"
#include "window/fonts.h"
#include "window/main_window.h"
#include "window/message_boxes.h"
#include "window/qt_texts.h"

#include <QTemporaryDir>
#include <QtTest>
#include <QtWidgets>

using namespace zulcalc;
using namespace testing_support;
Q_DECLARE_METATYPE(Row)

namespace {

// Stands in for the message boxes and the desktop: records, never waits.
class Recorder : public MessageBoxes, public FileOpener {
  public:
    void warning(QWidget*, const QString& title, const QString& text) override {
        shown << QStringList{"warning", title, text, {}};
    }
    void information(QWidget*, const QString& title, const QString& text) override {
        shown << QStringList{"information", title, text, {}};
    }
    void error(QWidget*, const QString& title, const QString& text,
               const QString& details) override {
        shown << QStringList{"error", title, text, details};
    }
    bool question(QWidget*, const QString&, const QString& text, const QString&,
                  const QString&) override {
        return (asked += text, accepts);
    }
    bool open(const QString& path) override { return (opened << path, opens); }
    QList<QStringList> shown; // kind, title, text, details
    QStringList opened;
    // False: nothing on the system opens a text file.
    bool opens = true;
    QString asked;                                 // the questions' texts
    bool accepts = false;                          // and what they are answered
    Qt::CursorShape printCursor = Qt::BlankCursor; // as a print asks where the report may go
};

// A control as tests/window/controls.tsv words it: kind, frame, caption.
QString drawnAs(const QWidget* control, const QWidget* client) {
    static const QHash<QString, QString> kinds = {
        {"QGroupBox", "frame"},    {"QLabel", "label"},
        {"QPushButton", "button"}, {"QRadioButton", "option button"},
        {"QLineEdit", "text box"}, {"QPlainTextEdit", "text box"}};
    const auto is = [control](const char* state) { return control->property(state).toInt(); };
    return QString("%1%2%3%4 in %5 \"%6\"")
        .arg(is("readOnly") ? "read-only " : "", is("checked") ? "selected " : "",
             is("verticalScrollBarPolicy") == Qt::ScrollBarAlwaysOn ? "multi-line " : "",
             kinds.value(control->metaObject()->className()),
             control->parentWidget() == client ? "window" : control->parentWidget()->objectName(),
             control->property("text").toString() + control->property("title").toString() +
                 control->property("plainText").toString());
}

// A warning's five lines as calc/warnings.tsv words them.
QString warningText(const QString& name) {
    for (const Row& row : readTable("calc/warnings.tsv", true))
        if (qs(row[0]) == name)
            return qs(row[1] + '\n' + row[2] + '\n' + row[3] + '\n' + row[4] + '\n' + row[5]);
    return "no such warning: " + name;
}

const QColor kLightText(0xee, 0xee, 0xee);
const QString kLevelBoxes[] = {"txtЗначение_звука_на_3_м",
                               "txtЗначение_уровня_звука_в_расчетной_точке"};

} // namespace

class WindowTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QTranslator m_qtTexts;
    Recorder m_desktop;
    std::unique_ptr<MainWindow> m_window;

    template <class T = QWidget> T* control(const QString& name) const {
        auto* found = qobject_cast<T*>(m_window->findChild<QWidget*>(name));
        return found ? found : (qFatal("no control %s", qPrintable(name)), nullptr);
    }
    QString text(const QString& name) const { return control<QLineEdit>(name)->text(); }
    // Seven box texts between bars, in the order of the data sheet: L W r H P S N.
    void enterRoom(const QString& room) {
        for (int i = 0; i < 7; ++i)
            control<QLineEdit>(qs(inputBoxName(kDataSheet[i])))->setText(room.section('|', i, i));
    }
    void click(const QString& name) {
        QTest::mouseClick(control<QAbstractButton>(name), Qt::LeftButton);
    }
    // A folder name with spaces and Cyrillic letters, as offices name them.
    QString programDir() const { return m_dir.filePath("Мои проекты/зал 2"); }
    QString samplePath() const { return programDir() + "/Sample.txt"; }

    void makeWindow(std::function<bool(const QString&)> writable = folderIsWritable,
                    bool installed = false, std::chrono::milliseconds lockWait = kLockWait) {
        const auto asked = [this, writable](const QString& folder) {
            const QCursor* cursor = QGuiApplication::overrideCursor();
            m_desktop.printCursor = cursor ? cursor->shape() : Qt::ArrowCursor;
            return writable(folder);
        };
        m_window = std::make_unique<MainWindow>(WindowServices{
            m_desktop,
            m_desktop,
            {programDir(), m_dir.filePath("home/Документы"), asked, installed, lockWait}});
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }

    // One test case a row of a table.
    void rowsOf(const std::string& table) {
        QTest::addColumn<Row>("row");
        for (const Row& row : readTable(table, true))
            QTest::newRow(row[0].c_str()) << row;
    }

  private slots:
    // Every window starts in a dark theme: its light text must not stay on
    // the boxes the program paints white or red.
    void initTestCase() {
        useBundledFonts();
        QVERIFY(useRussianQtTexts(m_qtTexts));
        QPalette dark = QApplication::palette();
        dark.setColor(QPalette::Base, QColor(0x20, 0x20, 0x20));
        dark.setColor(QPalette::Text, kLightText);
        QApplication::setPalette(dark);
    }
    void init() {
        m_desktop = {};
        QDir(m_dir.path()).removeRecursively();
        QVERIFY(QDir().mkpath(programDir()));
        makeWindow();
    }
    void cleanup() { m_window.reset(); }

    // Every control as tests/window/controls.tsv copies it from the window's
    // drawing, its caption (trailing spaces included) in the font that travels
    // with the program. Each label's caption fits it, and wraps the same with
    // no system font at all as with the system's: the run with them writes
    // down how, the run without compares.
    void everyControlWhereTheTableSays() {
        QCOMPARE(m_window->objectName() + m_window->windowTitle(),
                 QString("frmРасчетЗУЛРасчет ЗУЛ"));
        QStringList wrapped;
        // No sign of a number read in part, beside its box, covers a control.
        for (const Row& row : readTable("window/controls.tsv", true)) {
            QWidget* widget = control(qs(row[0]));
            for (const auto* sign : widget->parentWidget()->findChildren<QLabel*>(
                     QRegularExpression("^подсказка"), Qt::FindDirectChildrenOnly))
                QVERIFY2(!sign->geometry().intersects(widget->geometry()), row[0].c_str());
            QCOMPARE(drawnAs(widget, m_window->centralWidget()),
                     qs(row[1] + " in " + row[2] + ' ' + row[3]));
            QCOMPARE(widget->geometry(), QRect(std::stoi(row[4]) / 15, std::stoi(row[5]) / 15,
                                               std::stoi(row[6]) / 15, std::stoi(row[7]) / 15));
            if (auto* label = qobject_cast<QLabel*>(widget)) {
                const QRect area(QPoint(), label->contentsRect().size());
                const QRect needed = label->fontMetrics().boundingRect(
                    QRect(0, 0, area.width(), 10000), Qt::TextWordWrap, label->text());
                QVERIFY2(area.contains(needed), row[0].c_str());
                wrapped << qs(row[0]) + QString(" %1x%2").arg(needed.width()).arg(needed.height());
            }
        }
        QFile record(qEnvironmentVariable("ZULCALC_CAPTIONS_WRAPPED"));
        if (qEnvironmentVariableIsSet("FONTCONFIG_FILE"))
            QCOMPARE(wrapped, record.open(QIODevice::ReadOnly)
                                  ? QString::fromUtf8(record.readAll()).split('\n')
                                  : QStringList{"no record of the run with system fonts"});
        else if (record.open(QIODevice::WriteOnly))
            record.write(wrapped.join('\n').toUtf8());
        QCOMPARE(m_window->findChild<QAction*>("пункт_меню_печать")->text(), QString("Печать"));
        // Every control shows (15975 x 9015 twips below the menu); no resizing.
        QVERIFY(m_window->centralWidget()->width() >= 1065 &&
                m_window->centralWidget()->height() >= 601);
        QCOMPARE(m_window->minimumSize(), m_window->maximumSize());
        // It has that size before show() makes its native window: Windows
        // places a window by the size it is made with.
        QCOMPARE(MainWindow({m_desktop, m_desktop, {}}).size(), m_window->size());
        QCOMPARE(QFontInfo(control("lblВысота")->font()).family(),
                 QString("DejaVu Sans Condensed"));
        const QFontInfo title(control("lblРасчетЗУЛ")->font());
        QVERIFY(title.bold() && title.pixelSize() == 16); // 12 pt
        QCOMPARE(control("CmdРасчет")->accessibleName(), QString("Расчет"));
    }

    // Every name the report looks a control up by, the calculation's boxes
    // among them, is one of the real window's, of the kind the look-up needs;
    // a screen reader names each of those boxes by its label's caption. (The
    // option buttons, which the calculation also names, are looked up by
    // every press of Расчет.)
    void everyNameLookedUpIsAControl() {
        for (const auto& [fixedText, captioned] : kReportLines)
            if (auto* label = fixedText.empty() ? control<QLabel>(qs(captioned.label)) : nullptr)
                QCOMPARE(label->buddy()->accessibleName() + label->buddy()->objectName(),
                         label->text() + control(qs(captioned.box))->objectName());
    }

    // Tab follows the drawing's Tab column round to the start; the option
    // group is one stop, at its selected button, and the arrows move the
    // selection. At every stop Enter, the keypad's too, presses only a button
    // (Выход kept from closing): the window has no default button, nor a
    // cancel button for Esc. Every change of a box's text feeds its input at
    // once (the reading's table types into each), but the area's, which has
    // none. (The result boxes are read-only, as the first test sees.)
    void keyboardAndMouse() {
        QMap<int, QString> stops; // boxes, buttons and the selected option
        for (const Row& row : readTable("window/controls.tsv", true))
            if (row[1].ends_with("box") || row[1] == "button" || row[1].starts_with("selected"))
                stops[std::stoi(row[8])] = qs(row[0]);
        QStringList expected = stops.values(), pressed;
        Qt::Key key = Qt::Key_unknown; // the key being typed, and what it pressed
        for (auto* button : m_window->findChildren<QPushButton*>())
            connect(button, &QPushButton::clicked, [&, button] {
                pressed << QKeySequence(key).toString() + ' ' + button->text();
            });
        control("CmdВыход")->disconnect(m_window.get());
        for (const QString& name : expected << expected.first()) {
            QCOMPARE(QApplication::focusWidget()->objectName(), name);
            for (const Qt::Key typed : {Qt::Key_Escape, Qt::Key_Enter, Qt::Key_Return, Qt::Key_Tab})
                QTest::keyClick(QApplication::focusWidget(), key = typed,
                                typed == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
        }
        QKeyEvent held(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, {}, true); // presses once
        QApplication::sendEvent(control("CmdРасчет"), &held);
        QCOMPARE(pressed.join(", "), "Enter Очистить, Return Очистить, Enter Выход, Return Выход, "
                                     "Enter Расчет, Return Расчет");
        auto* wall = control<QRadioButton>("OptНастенный");
        click("OptПотолочный");
        click("OptПотолочный"); // cannot clear both
        QVERIFY(!wall->isChecked() && control<QRadioButton>("OptПотолочный")->isChecked());
        QTest::keyClick(control("OptПотолочный"), Qt::Key_Up);
        QVERIFY(wall->isChecked() && !control<QRadioButton>("OptПотолочный")->isChecked());

        QTest::keyClicks(control("txtЗначение_Площадь"), "99"); // no value of its own
        QCOMPARE(m_window->inputs().H + m_window->inputs().L, 0.0f);
    }

    void readingHint_data() { rowsOf("calc/parse.tsv"); } // the text in quotes, the hint last

    // Each text of the reading's table, typed into every numeric box in turn:
    // what a box does not read brings up a sign beside it at once, while
    // typing goes on in the box, and the sign stays while the others change,
    // until Очистить. The hint is the sign's tooltip and name, the box's
    // tooltip, What's This and description for a screen reader; else the box
    // states the standing rule.
    void readingHint() {
        QFETCH(Row, row);
        const QString typed = qs(row[0].substr(1, row[0].size() - 2));
        for (Input input : kAllInputs) {
            auto* box = control<QLineEdit>(qs(inputBoxName(input)));
            box->setFocus();
            for (const QChar c : typed) // as typed, Cyrillic letters too
                QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, c, Qt::NoModifier);
            QVERIFY(box->text() == typed && box->hasFocus());
        }
        for (const bool cleared : {false, true}) {
            const QString hint = qs(row.fields.size() > 3 && !cleared ? row[3] : ""),
                          said = hint.isEmpty() ? "Дробную часть вводите через точку, например "
                                                  "2.5: после запятой ничего не читается"
                                                : hint;
            for (Input input : kAllInputs) {
                const QWidget *box = control(qs(inputBoxName(input))),
                              *sign = control("подсказка_чтения_" + box->objectName());
                QCOMPARE(sign->isVisible() ? sign->toolTip() + sign->accessibleName() : "hidden",
                         hint.isEmpty() ? "hidden" : hint + hint);
                QCOMPARE(box->toolTip() + box->whatsThis() + box->accessibleDescription(),
                         said + said + said);
                QCOMPARE(valueOf(m_window->inputs(), input), cleared ? 0 : number(row[1]));
            }
            click("CmdОчистить");
        }
    }

    void pressCalculate_data() { rowsOf("window/presses.tsv"); }

    // Each press through the window: what it shows and paints, and a press
    // that cannot run says what to do and changes nothing.
    void pressCalculate() {
        QFETCH(Row, row);
        if (row[2] == "ceiling")
            click("OptПотолочный");
        control<QLineEdit>("txtЗначение_шифр_проекта")->setText("П-1");
        control<QLineEdit>("txtЗначение_Площадь")->setText("60");
        enterRoom(qs(row[1]));
        click("CmdРасчет");

        // The six boxes (- : all six empty), then every message in turn.
        QStringList shown, expected = qs(row[4] == "-" ? "     " : row[4]).split(' ');
        for (int i = 0; i < 6; ++i) {
            shown << text(qs(resultBoxName(ResultBox(i))));
            expected[i].replace(row[3].c_str(), QLocale().decimalPoint());
        }
        for (const QStringList& box : m_desktop.shown)
            shown << box.join('|');
        for (const QString& name : qs(row[6]).split(',', Qt::SkipEmptyParts))
            if (name != "-")
                expected << "warning|Ошибка вычислений!|" + warningText(name) + "|";
        if (row.fields.size() > 7)
            expected << "error|Расчет невозможен|" + qs(row[7]).replace("\\n", "\n") + "|" +
                            qs(row[8]);
        QCOMPARE(shown, expected);
        for (int i = 0; i < 2 && row[5] != "-"; ++i) {
            const QPalette painted = control(kLevelBoxes[i])->palette();
            QCOMPARE(painted.base().color(), QColor(row[5][2 * i] == 'R' ? Qt::red : Qt::white));
            QCOMPARE(painted.text().color(), QColor(Qt::black));
        }
        if (row[5] == "-")
            QCOMPARE(control(kLevelBoxes[0])->palette(), m_window->palette());
        // What the program does not paint keeps the theme's colours.
        QCOMPARE(control("txtЗначение_колличества_оповещателей")->palette().text().color(),
                 kLightText);

        // Очистить empties the numbers and keeps the rest: the colours, the
        // mount, the other boxes and what was worked out.
        const QPalette painted = control(kLevelBoxes[0])->palette();
        const Расчетные_величины results = m_window->results();
        click("CmdОчистить");
        for (std::string_view name : kClearedBoxes) // their values 0 (readingHint)
            QCOMPARE(text(qs(name)), QString());
        QCOMPARE(control(kLevelBoxes[0])->palette(), painted);
        QCOMPARE(control<QRadioButton>("OptПотолочный")->isChecked(), row[2] == "ceiling");
        QCOMPARE(text("txtЗначение_шифр_проекта") + text("txtЗначение_Площадь"), QString("П-160"));
        QVERIFY(m_window->results() == results);
    }

    void printAppendsOpensAndEnds_data() { rowsOf("window/prints.tsv"); }

    void printAppendsOpensAndEnds() {
        QFETCH(Row, row);
        const bool printed = row[2] == "printed";
        const QString tag = qs(row[0]);
        const QString path = m_dir.filePath(qs(row[1]));
        if (tag == "read-only folder") {
            QFile::setPermissions(programDir(), QFile::ReadOwner | QFile::ExeOwner);
            if (QFile(programDir() + "/probe").open(QIODevice::Append))
                QSKIP("this user writes there all the same (root, or a folder on Windows); "
                      "tools/test.sh reruns this as nobody");
        }
        if (tag.endsWith("no documents folder"))
            writeFile(m_dir.filePath("home"), "a file in the way");
        // Another copy printing all the while: the window goes on (a timer of
        // no interval fires at every look at the file), but what is typed or
        // clicked meanwhile does nothing, no second print, no closing.
        QFile other(samplePath());
        QTimer during;
        int looks = 0;
        if (tag.startsWith("another")) {
            QVERIFY(other.open(QIODevice::Append) && holdLock(other));
            makeWindow(folderIsWritable, false, std::chrono::milliseconds(300));
            connect(&during, &QTimer::timeout, [&] {
                ++looks;
                QTest::keyClicks(control("txtЗначение_шифр_проекта"), "7");
                QTest::keyClick(m_window->windowHandle(), Qt::Key_Alt); // Печать again
                QTest::keyClick(m_window->windowHandle(), Qt::Key_Return);
                m_window->close();
            });
            during.start(0);
        }
        m_desktop.opens = tag != "nothing opens it";
        if (tag.contains("closed"))
            makeWindow([this](const QString& folder) { return folder != programDir(); });
        if (tag.startsWith("installed")) // its folder writable: root, or an administrator
            makeWindow(folderIsWritable, true);
        control<QLineEdit>("txtЗначение_шифр_проекта")->setText("П-1");
        const bool signs = tag.startsWith("signs"); // an accent on the 3, a space of no width
        if (signs) {
            control<QPlainTextEdit>("txtЗначение_Адрес_здания")->setPlainText("3×3\u0301\u200B🔥");
            control<QLineEdit>("txtНаименование_помещения")
                ->setText("Класс 9×6 м, S=54 м², t≥18°C?");
            m_desktop.accepts = tag.endsWith("printed");
        }
        const bool exit = tag == "exit";
        if (tag == "Alt, Enter") { // as typed, to the menu bar: Печать has no shortcut key
            QTest::keyClick(m_window->windowHandle(), Qt::Key_P, Qt::ControlModifier);
            QVERIFY(m_window->isVisible());
            QTest::keyClick(m_window->windowHandle(), Qt::Key_Alt);
            QTest::keyClick(m_window->windowHandle(), Qt::Key_Return);
        } else
            exit ? click("CmdВыход")
                 : m_window->findChild<QAction*>("пункт_меню_печать")->trigger();
        during.stop();
        // The wait cursor while the print may wait for another copy, and only
        // then (an installed copy does not ask about its folder). Characters
        // the report lacks: each once, by the box first met in, before anything
        // is written; going back writes nothing.
        const bool goneBack = tag.endsWith("gone back");
        QCOMPARE(m_desktop.printCursor,
                 exit || goneBack || tag.startsWith("inst") ? Qt::BlankCursor : Qt::WaitCursor);
        QCOMPARE(m_desktop.asked.section("\n\n", 1, 1),
                 signs ? "Адрес здания (сооружения): «×» «◌́» U+200B «🔥»\n"
                         "Наименование помещения по экспликации: «²» «≥»"
                       : "");
        QVERIFY(!QGuiApplication::overrideCursor());
        QVERIFY(!tag.startsWith("another") || looks >= 5);
        QFile::setPermissions(programDir(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

        QCOMPARE(m_window->isVisible(), !printed && !exit);
        QCOMPARE(m_desktop.opened, printed ? QStringList{path} : QStringList());
        if (printed) {
            const QByteArray report = readFile(path);
            QVERIFY(report.startsWith("\xD0\xE0\xF1\xF7\xE5\xF2")); // "Расчет" in Windows-1251
            QVERIFY(report.contains(": \xCF-1\r\n"));
            QCOMPARE(report.count("\r\n"), 23);
            QVERIFY(!signs || report.contains("\xCA\xEB\xE0\xF1\xF1 9?6 \xEC, S=54 \xEC?, t?18\xB0"
                                              "C?\r\n"));
            // Where nothing opens it, the user is told where it is.
            QCOMPARE(m_desktop.shown.value(0).join('|').section("\n\n", 0, 0),
                     m_desktop.opens ? ""
                                     : "information|Отчет записан|Отчет записан в файл\n" +
                                           QDir::toNativeSeparators(path));
            QCOMPARE(QDir(programDir()).entryList(QDir::Files).join(""), // no probe left behind
                     QString(path == samplePath() ? "Sample.txt" : ""));
        } else if (!exit && !goneBack) {
            QCOMPARE(m_desktop.shown.size(), 1);
            const QString reason = qs(row[3])
                                       .replace("%1", QDir::toNativeSeparators(programDir()))
                                       .replace("%2", QDir::toNativeSeparators(path));
            QVERIFY2(m_desktop.shown[0][2].contains(QDir::toNativeSeparators(path)) &&
                         m_desktop.shown[0][2].contains("\nПричина: " + reason + "\n\n"),
                     qPrintable(m_desktop.shown[0][2]));
            QCOMPARE(text("txtЗначение_шифр_проекта"), QString("П-1"));
        }
        if (exit || goneBack)
            QVERIFY(m_desktop.shown.isEmpty() && !QFile::exists(samplePath()));
        else if (!printed && QFileInfo(samplePath()).isFile())
            QCOMPARE(readFile(samplePath()), QByteArray());
    }

    // The editors that show the report as Latin letters unless told: each is
    // started told, the path one word; Kate, which reads it right, and GNOME
    // Text Editor, which cannot be told, are left to the desktop.
    void editorsToldTheEncoding() {
        const QString path = programDir() + "/Sample.txt";
        for (const QString editor : {"org.xfce.mousepad.desktop mousepad", "pluma.desktop pluma",
                                     "org.gnome.gedit.desktop gedit"}) {
            const auto start = windows1251Start(editor.section(' ', 0, 0), path);
            QCOMPARE(start ? start->program + '|' + start->arguments.join('|') : "none",
                     editor.section(' ', 1) + "|--encoding=WINDOWS-1251|" + path);
        }
        for (const char* editor : {"org.kde.kate.desktop", "org.gnome.TextEditor.desktop", ""})
            QVERIFY2(!windows1251Start(editor, path), editor);
    }

    // The real boxes: one OK button, the details folded away, and each line
    // of a warning (the code of practice's wording) whole on a line of its own.
    void realMessageBoxes() {
        QStringList seen;
        const auto look = [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            auto* label = box->findChild<QLabel*>("qt_msgbox_label");
            int widest = 0;
            for (const QString& line : box->text().split('\n'))
                widest = std::max(widest, label->fontMetrics().horizontalAdvance(line));
            seen << QString("%1 %2 %3 %4 %5")
                        .arg(box->icon())
                        .arg(box->standardButtons() == QMessageBox::Ok)
                        .arg(box->buttons().constLast()->text())
                        .arg(label->contentsRect().width() >= widest)
                        .arg(box->detailedText());
            box->accept();
        };
        ModalMessageBoxes real; // with a prompt that fits the offscreen screen's 800 pixels
        QTimer::singleShot(0, look);
        real.warning(m_window.get(), "Ошибка вычислений!", warningText("P1Low"));
        QTimer::singleShot(0, look); // prose: wrapped to the box's width
        real.error(m_window.get(), "Расчет невозможен", QString("Заполните: ").repeated(8),
                   "шаг 4");
        // In Russian, as Qt's catalogue has them (OK in Latin letters).
        QCOMPARE(seen,
                 (QStringList{
                     QString("%1 1 OK 1 ").arg(QMessageBox::Warning),
                     QString("%1 1 Показать подробности... 0 шаг 4").arg(QMessageBox::Critical)}));
        // A question goes back on Esc, on Enter and when closed; only its button prints.
        QString answers;
        for (const QString how : {"Esc", "Enter", "close", "Печатать"}) {
            QTimer::singleShot(0, [how] {
                auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                for (QAbstractButton* button : box->buttons())
                    if (button->text() == how)
                        return button->click();
                how == "close"
                    ? (void)box->close()
                    : QTest::keyClick(box, how == "Esc" ? Qt::Key_Escape : Qt::Key_Return);
            });
            answers += real.question(m_window.get(), "?", "?", "Печатать", "Вернуться") ? "1" : "0";
        }
        QCOMPARE(answers, QString("0001"));
    }
};

QTEST_MAIN(WindowTest)
#include "window_test.moc"
