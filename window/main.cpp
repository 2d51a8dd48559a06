#include "window/desktop_opener.h"
#include "window/fonts.h"
#include "window/installed_copy.h"
#include "window/main_window.h"
#include "window/message_boxes.h"
#include "window/qt_texts.h"

#include <QApplication>
#include <QStandardPaths>
#include <QTranslator>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    // The window is its menu entry's, org.example.zulcalc.desktop: that name
    // is the app id on Wayland, and on X the class of WM_CLASS (the entry's
    // StartupWMClass), its instance the program's name as ever (or -name's).
    QGuiApplication::setDesktopFileName(QStringLiteral("org.example.zulcalc"));
    QCoreApplication::setApplicationName(QStringLiteral("org.example.zulcalc"));
    zulcalc::useBundledFonts();
    QTranslator qtTexts;
    zulcalc::useRussianQtTexts(qtTexts);
    zulcalc::ModalMessageBoxes messages;
    zulcalc::DesktopOpener opener;
    const QString programDir = QCoreApplication::applicationDirPath();
    zulcalc::MainWindow window(
        {messages,
         opener,
         {programDir, QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation),
          zulcalc::folderIsWritable, zulcalc::isInstalledCopy(programDir)}});
    window.show();
    return app.exec();
}
