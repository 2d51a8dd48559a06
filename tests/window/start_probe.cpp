// Loaded into the real program before it starts (LD_PRELOAD): once its event
// loop runs, prints on one line what its user meets first (the application's
// font, the details button's text of Qt's message box) and the menu entry
// the program names as its own (the window's app id on Wayland).
// tests/window/real_program.sh compares the line.
#include <QApplication>
#include <QFont>
#include <QTimer>

#include <cstdio>

static void reportOnceRunning() {
    qunsetenv("LD_PRELOAD"); // not into what the program starts
    QTimer::singleShot(0, [] {
        const QStringList seen{QApplication::font().family(),
                               QCoreApplication::translate("QMessageBox", "Show Details..."),
                               QGuiApplication::desktopFileName()}; // the app id on Wayland
        std::printf("%s\n", qPrintable(seen.join('|')));
    });
}
Q_COREAPP_STARTUP_FUNCTION(reportOnceRunning)
