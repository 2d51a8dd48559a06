// Loaded into the real program before it starts (LD_PRELOAD): once its event
// loop runs, prints on one line what its user meets first (the application's
// font, the details button's text of Qt's message box, the window's title).
// tests/window/real_program.sh compares the line.
#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <cstdio>

static void reportOnceRunning() {
    qunsetenv("LD_PRELOAD"); // not into what the program starts
    QTimer::singleShot(0, [] {
        QStringList seen{QApplication::font().family(),
                         QCoreApplication::translate("QMessageBox", "Show Details...")};
        for (const QWidget* window : QApplication::topLevelWidgets())
            seen << (window->isVisible() ? window->windowTitle() : "");
        std::printf("%s\n", qPrintable(seen.join('|')));
    });
}
Q_COREAPP_STARTUP_FUNCTION(reportOnceRunning)
