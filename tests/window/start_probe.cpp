// Loaded into the real program before it starts (LD_PRELOAD): once its event
// loop runs, prints on one line what its user meets first (the application's
// font, the buttons of a message box with details, the window's title) and
// ends it. tests/CMakeLists.txt compares the line.
#include <QAbstractButton>
#include <QApplication>
#include <QMainWindow>
#include <QMessageBox>
#include <QTimer>

#include <cstdio>

static void reportOnceRunning() {
    QTimer::singleShot(0, [] {
        QStringList seen{QApplication::font().family()};
        QMessageBox box(QMessageBox::Critical, "", "", QMessageBox::Ok);
        box.setDetailedText("-");
        for (const QAbstractButton* button : box.buttons())
            seen << button->text();
        for (const QWidget* window : QApplication::topLevelWidgets())
            if (qobject_cast<const QMainWindow*>(window) && window->isVisible())
                seen << window->windowTitle();
        std::printf("%s\n", qPrintable(seen.join('|')));
        std::fflush(stdout);
        QCoreApplication::quit();
    });
}
Q_COREAPP_STARTUP_FUNCTION(reportOnceRunning)
