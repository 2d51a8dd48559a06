// The floor for start-up: a main window with one menu item and one label.
// With an argument WIDTHxHEIGHT its client area takes that size, so that it
// paints as many pixels as the window it is compared with.
#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.menuBar()->addAction(QStringLiteral("Печать"));
    auto* label = new QLabel(QStringLiteral("Расчет ЗУЛ"));
    if (argc > 1) {
        const QStringList size = QString::fromLocal8Bit(argv[1]).split('x');
        if (size.size() == 2)
            label->setFixedSize(size[0].toInt(), size[1].toInt());
    }
    window.setCentralWidget(label);
    window.show();
    return app.exec();
}
