// Drives the real window through a typical session on an X display and has
// ImageMagick's `import` photograph it: the fault box on the empty window,
// the first warning, the window with white and red results, and then with
// numbers it reads only in part.
// Usage: zulcalc_shots OUTPUT_PREFIX
#include "window/fonts.h"
#include "window/main_window.h"
#include "window/message_boxes.h"
#include "window/qt_texts.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QTimer>
#include <QTranslator>

#include <cstdio>

namespace {

class NoOpener : public zulcalc::FileOpener {
  public:
    bool open(const QString&) override { return true; }
};

bool photograph(QWidget* widget, const QString& file) {
    QApplication::processEvents();
    const int status =
        QProcess::execute("import", {"-window", QString::number(widget->winId()), file});
    std::printf("%s %s\n", status == 0 ? "wrote" : "FAILED", qPrintable(file));
    return status == 0;
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    zulcalc::useBundledFonts();
    QTranslator qtTexts;
    zulcalc::useRussianQtTexts(qtTexts);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_PREFIX\n", argv[0]);
        return 2;
    }
    const QString prefix = QString::fromLocal8Bit(argv[1]);
    // Pixels drawn by another Qt differ: the front page's picture notes it.
    std::printf("drawn by Qt %s\n", qVersion());
    zulcalc::ModalMessageBoxes boxes;
    NoOpener opener;
    zulcalc::MainWindow window(
        {boxes, opener, {"/nonexistent", "/nonexistent", zulcalc::folderIsWritable}});
    window.show();

    // Each message box that opens is photographed once, under the next name.
    QStringList boxNames = {prefix + "-fault.png", prefix + "-warning.png"};
    bool ok = true;
    QTimer watcher;
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible())
            return;
        if (!boxNames.isEmpty())
            ok = photograph(modal, boxNames.takeFirst()) && ok;
        modal->close();
    });
    watcher.start(300);

    auto box = [&](const char* name) {
        return window.findChild<QWidget*>(QString::fromUtf8(name));
    };
    auto type = [&](const char* name, const QString& text) {
        if (auto* line = qobject_cast<QLineEdit*>(box(name)))
            line->setText(text);
        else if (auto* multi = qobject_cast<QPlainTextEdit*>(box(name)))
            multi->setPlainText(text);
    };
    auto calculate = [&] { qobject_cast<QAbstractButton*>(box("CmdРасчет"))->click(); };

    QTimer::singleShot(500, [&] {
        calculate(); // the empty window: the fault box
        type("txtЗначение_шифр_проекта", "2026-СОУЭ-14");
        type("txtЗначение_Наименование_здания", "Административное здание");
        type("txtЗначение_Адрес_здания", "г. Москва,\nул. Строителей, д. 5");
        type("txtЗначение_№_этажа", "3");
        type("txtЗначение_№_помещения", "312");
        type("txtНаименование_помещения", "Зал совещаний");
        type("txtЗначение_Площадь", "96");
        type("txtЗначение_Длина", "12");
        type("txtЗначение_Ширина", "8");
        type("txtЗначение_Высота", "4");
        type("txtЗначение_Мощность", "0.5");
        type("txtЗначение_Чувствительность", "92");
        type("txtЗначение_Уровень", "70");
        type("txtЗначение_расстояния_оповещатель_слушатель", "4");
        calculate(); // too quiet at the listener: warnings, one red box
        ok = photograph(&window, prefix + "-window.png") && ok;
        // Numbers typed as a Russian writes them: each box that reads less
        // than it holds is marked.
        type("txtЗначение_Высота", "3,3");
        type("txtЗначение_Ширина", "8,5");
        type("txtЗначение_Уровень", "70 дБА");
        ok = photograph(&window, prefix + "-misread.png") && ok;
        app.exit(ok ? 0 : 1);
    });
    return app.exec();
}
