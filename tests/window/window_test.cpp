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

#include <algorithm>
#include <cstring>
#include <functional>
#include <map>
#include <memory>

using namespace zulcalc;

namespace {

struct RecordedBox {
    QString kind, title, text, details;
};

class RecordingBoxes : public MessageBoxes {
  public:
    void warning(QWidget*, const QString& title, const QString& text) override {
        shown.push_back({"warning", title, text, {}});
    }
    void error(QWidget*, const QString& title, const QString& text,
               const QString& details) override {
        shown.push_back({"error", title, text, details});
    }
    std::vector<RecordedBox> shown;
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

// The room of the worked example: nothing to warn about.
const std::map<const char*, const char*> kOffice = {
    {"txtЗначение_Длина", "10"},        {"txtЗначение_Ширина", "6"},
    {"txtЗначение_Высота", "3"},        {"txtЗначение_Мощность", "1"},
    {"txtЗначение_Чувствительность", "90"}, {"txtЗначение_Уровень", "60"},
    {"txtЗначение_расстояния_оповещатель_слушатель", "3"},
};

const char* const kResultBoxes[] = {
    "txtЗначение_требуемого_уровня_в_точке",   "txtЗначение_звука_на_3_м",
    "txtЗначение_уровня_звука_в_расчетной_точке", "txtЗначение_колличества_оповещателей",
    "txtЗначение_расстояния_до_стены",         "txtЗначение_расстояния_между_оповещателями",
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
    QPalette palette(const char* name) const { return control(name)->palette(); }
    void type(const char* name, const QString& value) { control<QLineEdit>(name)->setText(value); }
    void enter(const std::map<const char*, const char*>& room) {
        for (const auto& [box, value] : room)
            type(box, QString::fromUtf8(value));
    }
    void click(const char* name) { QTest::mouseClick(control<QAbstractButton>(name), Qt::LeftButton); }
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
        QCOMPARE(m_window->objectName(), QString("frmРасчетЗУЛ"));
        QCOMPARE(m_window->windowTitle(), QString("Расчет ЗУЛ"));
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
        QCOMPARE(control<QLabel>("lblФон")->text(), QString("Уровень фонового шума в помещении, дБ "));
        QCOMPARE(control<QGroupBox>("frmИсходные_данные")->title(), QString("Исходные данные"));
        QCOMPARE(control<QPushButton>("CmdРасчет")->text(), QString("Расчет"));
        QCOMPARE(control<QRadioButton>("OptПотолочный")->text(), QString("Потолочный"));
        QVERIFY(control<QLineEdit>("txtЗначение_звука_на_3_м")->isReadOnly());
        QVERIFY(control<QPlainTextEdit>("txtЗначение_Адрес_здания"));
        QVERIFY(control<QLabel>("lblРасчетЗУЛ")->font().bold());
        QCOMPARE(m_window->findChild<QAction*>("пункт_меню_печать")->text(), QString("Печать"));
        // The window shows every control: 15975 x 9015 twips below the menu.
        QVERIFY(m_window->centralWidget()->width() >= 1065);
        QVERIFY(m_window->centralWidget()->height() >= 601);
        // The face that travels with the program, whatever the system has.
        QCOMPARE(QFontInfo(control("lblВысота")->font()).family(), QString("DejaVu Sans Condensed"));
        const QFontInfo title(control("lblРасчетЗУЛ")->font());
        QVERIFY(title.bold() && title.pixelSize() == 16); // 12 pt
        QCOMPARE(m_window->minimumSize(), m_window->maximumSize()); // not resizable
    }

    void everyCaptionFitsItsLabel() {
        for (const ControlSpec& spec : kControls) {
            auto* label = qobject_cast<QLabel*>(control(spec.name));
            if (!label)
                continue;
            const QRect area = label->contentsRect();
            const QRect needed = label->fontMetrics().boundingRect(
                QRect(0, 0, area.width(), 10000), Qt::TextWordWrap, label->text());
            QVERIFY2(needed.width() <= area.width() && needed.height() <= area.height(),
                     qPrintable(QString("%1 needs %2x%3 in %4x%5")
                                    .arg(label->objectName())
                                    .arg(needed.width())
                                    .arg(needed.height())
                                    .arg(area.width())
                                    .arg(area.height())));
        }
    }

    void everyBoxIsNamedByItsCaptionForAScreenReader() {
        for (const auto& [labelName, boxName] : kCaptionedBoxes) {
            QCOMPARE(control<QLabel>(labelName)->buddy(), control(boxName));
            QCOMPARE(control(boxName)->accessibleName(), control<QLabel>(labelName)->text());
        }
        for (const char* name : {"CmdРасчет", "OptНастенный"})
            QCOMPARE(control(name)->accessibleName(), control<QAbstractButton>(name)->text());
    }

    // In the order of the Tab column; the option group is one stop, at the
    // selected button; labels and frames are never visited.
    void tabVisitsTheControlsInOrder() {
        std::vector<std::pair<int, QString>> order;
        for (const ControlSpec& spec : kControls)
            if (control(spec.name)->focusPolicy() & Qt::TabFocus && strcmp(spec.name, "OptПотолочный"))
                order.emplace_back(spec.tab, QString::fromUtf8(spec.name));
        std::sort(order.begin(), order.end());
        QCOMPARE(order.size(), std::size_t(24));
        QCOMPARE(QApplication::focusWidget()->objectName(), order.front().second);
        for (std::size_t i = 1; i <= order.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget()->objectName(), order[i % order.size()].second);
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

    void calculateShowsResultsAndWarningsInOrder_data() {
        QTest::addColumn<bool>("ceiling");
        QTest::addColumn<QStringList>("shown"); // the result boxes, in kResultBoxes order
        QTest::addColumn<QStringList>("warnings");
        const QString sep = QLocale().decimalPoint();
        QTest::newRow("wall") << false << QStringList{"75", "127", "131", "22", "1", "2"}
                              << QStringList{"(P3)", "(P1a)", "(P3a)"};
        QTest::newRow("ceiling") << true
                                 << QStringList{"75", "127", "131", "3", "2" + sep + "3", "4" + sep + "6"}
                                 << QStringList{"(P1)", "(P3)", "(P1a)"};
    }

    void calculateShowsResultsAndWarningsInOrder() {
        QFETCH(bool, ceiling);
        QFETCH(QStringList, shown);
        QFETCH(QStringList, warnings);
        if (ceiling)
            click("OptПотолочный");
        enter({{"txtЗначение_Длина", "10"}, {"txtЗначение_Ширина", "6"},
               {"txtЗначение_расстояния_оповещатель_слушатель", "2"}, {"txtЗначение_Высота", "3.5"},
               {"txtЗначение_Мощность", "10"}, {"txtЗначение_Чувствительность", "127"},
               {"txtЗначение_Уровень", "60"}});
        click("CmdРасчет");
        QStringList got;
        for (const char* box : kResultBoxes)
            got << text(box);
        QCOMPARE(got, shown);
        QStringList seen;
        for (const auto& box : m_boxes.shown) {
            QCOMPARE(box.title, QString("Ошибка вычислений!"));
            QCOMPARE(box.text.count('\n'), 4); // five lines, no carriage return
            QVERIFY(!box.text.contains('\r'));
            seen << "(" + box.text.section('(', 1).section(')', 0, 0) + ")";
        }
        QCOMPARE(seen, warnings);
        QCOMPARE(palette("txtЗначение_звука_на_3_м").color(QPalette::Base), QColor(Qt::red));
        QCOMPARE(palette("txtЗначение_уровня_звука_в_расчетной_точке").color(QPalette::Base),
                 QColor(Qt::red));
    }

    // A dark theme's text is light: on the boxes the program paints white
    // or red it would all but vanish.
    void paintedBoxesReadInADarkTheme() {
        const QPalette light = QApplication::palette();
        QPalette dark = light;
        dark.setColor(QPalette::Base, QColor(0x20, 0x20, 0x20));
        dark.setColor(QPalette::Text, QColor(0xee, 0xee, 0xee));
        QApplication::setPalette(dark);
        makeWindow(); // started in that theme
        enter(kOffice);
        click("CmdРасчет");
        QVERIFY(m_boxes.shown.empty());
        for (const char* box : {"txtЗначение_звука_на_3_м", "txtЗначение_уровня_звука_в_расчетной_точке"}) {
            QCOMPARE(palette(box).color(QPalette::Base), QColor(Qt::white));
            QCOMPARE(palette(box).color(QPalette::Text), QColor(Qt::black));
        }
        QCOMPARE(text("txtЗначение_уровня_звука_в_расчетной_точке"), QString("86"));
        // What the program does not paint keeps the theme's colours.
        QCOMPARE(palette("txtЗначение_колличества_оповещателей").color(QPalette::Text),
                 dark.color(QPalette::Text));
        QApplication::setPalette(light);
    }

    void aFaultSaysWhatToDoAndChangesNothing_data() {
        QTest::addColumn<QString>("box"); // changed from the worked example, or "" for none typed
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("message"); // empty: the calculation runs
        const QString fill = "Не все исходные данные введены числами.\nЗаполните: ";
        QTest::newRow("empty window") << "" << "" << fill + "Высота потолка, м.; Ширина помещения, м.; "
                    "Длина помещения, м; Чувствительность оповещателя (по паспорту), дБ; Мощность "
                    "оповещателя (по паспорту), Вт; Уровень фонового шума в помещении, дБ; "
                    "Расстояние от оповещателя до слушателя, м";
        QTest::newRow("no height") << "txtЗначение_Высота" << "" << fill + "Высота потолка, м.";
        QTest::newRow("blank width") << "txtЗначение_Ширина" << "  " << fill + "Ширина помещения, м.";
        QTest::newRow("length a minus sign") << "txtЗначение_Длина" << "-" << fill + "Длина помещения, м";
        QTest::newRow("no power") << "txtЗначение_Мощность" << "Вт" << fill + "Мощность оповещателя (по паспорту), Вт";
        QTest::newRow("no distance") << "txtЗначение_расстояния_оповещатель_слушатель" << ""
                                     << fill + "Расстояние от оповещателя до слушателя, м";
        QTest::newRow("no noise: 0 dB") << "txtЗначение_Уровень" << "" << "";
        QTest::newRow("no sensitivity: 0 dB") << "txtЗначение_Чувствительность" << "" << "";
        QTest::newRow("zero distance") << "txtЗначение_расстояния_оповещатель_слушатель" << "0"
                                       << "Расстояние от оповещателя до слушателя должно быть больше 0.";
        QTest::newRow("zero power") << "txtЗначение_Мощность" << "0" << "Мощность оповещателя должна быть больше 0.";
        QTest::newRow("low ceiling") << "txtЗначение_Высота" << "1.5" << "Высота потолка должна быть больше 1,5 м.";
        QTest::newRow("zero length") << "txtЗначение_Длина" << "0" << "Длина и ширина помещения не должны быть равны 0.";
        QTest::newRow("tiny distance") << "txtЗначение_расстояния_оповещатель_слушатель" << "1e-20"
            << "Расстояние от оповещателя до слушателя слишком мало для такой площади помещения.";
        QTest::newRow("infinite noise") << "txtЗначение_Уровень" << "1e39"
            << "Значение «Уровень фонового шума в помещении, дБ» слишком велико: введите число меньше "
               "3,4E+38 по модулю.";
    }

    void aFaultSaysWhatToDoAndChangesNothing() {
        QFETCH(QString, box);
        QFETCH(QString, value);
        QFETCH(QString, message);
        if (!box.isEmpty()) {
            enter(kOffice);
            type(box.toUtf8().constData(), value);
        }
        click("CmdРасчет");
        if (message.isEmpty()) {
            QVERIFY(m_boxes.shown.empty() || m_boxes.shown[0].kind == "warning");
            QVERIFY(!text("txtЗначение_звука_на_3_м").isEmpty());
            return;
        }
        QCOMPARE(m_boxes.shown.size(), std::size_t(1));
        QCOMPARE(m_boxes.shown[0].kind, QString("error"));
        QCOMPARE(m_boxes.shown[0].text, message);
        QVERIFY2(m_boxes.shown[0].details.contains(QRegularExpression("шаг \\d+|одинарной точности")),
                 qPrintable(m_boxes.shown[0].details));
        for (const char* name : kResultBoxes)
            QCOMPARE(text(name), QString());
        QCOMPARE(palette(kResultBoxes[1]), m_window->palette());
    }

    void clearEmptiesTheBoxesButKeepsColoursMountAndDescription() {
        click("OptПотолочный");
        type("txtЗначение_шифр_проекта", "П-1");
        type("txtЗначение_Площадь", "60");
        enter(kOffice);
        type("txtЗначение_Чувствительность", "20"); // too quiet: red boxes
        click("CmdРасчет");
        const Расчетные_величины results = m_window->results();
        click("CmdОчистить");
        for (const char* name : kClearedBoxes)
            QCOMPARE(text(name), QString());
        for (Input input : kAllInputs)
            QCOMPARE(valueOf(m_window->inputs(), input), 0.0f);
        QCOMPARE(palette("txtЗначение_звука_на_3_м").color(QPalette::Base), QColor(Qt::red));
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
        enter(kOffice);
        type("txtЗначение_шифр_проекта", "П-1");
        print();
        QVERIFY(m_window->isVisible());
        QVERIFY(m_opener.opened.isEmpty());
        QCOMPARE(m_boxes.shown.size(), std::size_t(1));
        QCOMPARE(m_boxes.shown[0].kind, QString("error"));
        QVERIFY(m_boxes.shown[0].text.contains(samplePath()));
        QVERIFY(m_boxes.shown[0].text.contains("Причина: "));
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
        QVERIFY(!m_window->isVisible());
        QVERIFY(!QFile::exists(samplePath()));
        QVERIFY(m_opener.opened.isEmpty());
    }

    // The warnings' lines are the code of practice's wording: each shows
    // whole on a line of its own, none broken in two.
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
                seen << QString("%1|%2|%3|%4|%5")
                            .arg(box->icon())
                            .arg(box->standardButtons() == QMessageBox::Ok)
                            .arg(label->contentsRect().width() >= widest)
                            .arg(box->text().count(QChar(10)))
                            .arg(box->detailedText());
                box->accept();
            });
        };
        // A prompt that fits the offscreen screen's 800 pixels.
        QString prompt = QString::fromStdString(warningPrompt(Warning::P1Low));
        prompt.replace('\r', '\n');
        answer();
        real.warning(m_window.get(), "Ошибка вычислений!", prompt);
        answer();
        real.error(m_window.get(), "Расчет невозможен", "Заполните: Высота", "шаг 4");
        QCOMPARE(seen, (QStringList{QString("%1|1|1|4|").arg(QMessageBox::Warning),
                                    QString("%1|1|1|0|шаг 4").arg(QMessageBox::Critical)}));
    }
};

QTEST_MAIN(WindowTest)
#include "window_test.moc"
