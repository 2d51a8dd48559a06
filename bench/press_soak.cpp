// Presses Расчет and Очистить many times in one window, with real warning
// boxes dismissed as soon as they show, and prints the resident memory as it
// goes: it must level off, not grow with the number of presses.
#include "window/fonts.h"
#include "window/main_window.h"
#include "window/message_boxes.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>

#include <cstdio>

namespace {

class AutoDismissedBoxes : public zulcalc::MessageBoxes {
  public:
    void warning(QWidget* parent, const QString& title, const QString& text) override {
        show(parent, QMessageBox::Warning, title, text);
    }
    void information(QWidget* parent, const QString& title, const QString& text) override {
        show(parent, QMessageBox::Information, title, text);
    }
    void error(QWidget* parent, const QString& title, const QString& text,
               const QString&) override {
        show(parent, QMessageBox::Critical, title, text);
    }
    bool question(QWidget*, const QString&, const QString&, const QString&,
                  const QString&) override {
        return false; // never asked: nothing here prints
    }
    long shown = 0;

  private:
    void show(QWidget* parent, QMessageBox::Icon icon, const QString& title, const QString& text) {
        QMessageBox box(icon, title, text, QMessageBox::Ok, parent);
        QTimer::singleShot(0, &box, &QMessageBox::accept);
        box.exec();
        ++shown;
    }
};

class NoOpener : public zulcalc::FileOpener {
  public:
    bool open(const QString&) override { return true; }
};

long residentKiB() {
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return -1;
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    zulcalc::useBundledFonts();
    const long presses = argc > 1 ? std::atol(argv[1]) : 10000;
    AutoDismissedBoxes boxes;
    NoOpener opener;
    zulcalc::MainWindow window(
        {boxes, opener, {"/nonexistent", "/nonexistent", zulcalc::folderIsWritable}});
    window.show();

    // Too loud for the room: three warnings on every press.
    const std::pair<const char*, const char*> room[] = {
        {"txtЗначение_Длина", "10"},
        {"txtЗначение_Ширина", "6"},
        {"txtЗначение_Высота", "3.5"},
        {"txtЗначение_Мощность", "10"},
        {"txtЗначение_Чувствительность", "127"},
        {"txtЗначение_Уровень", "60"},
        {"txtЗначение_расстояния_оповещатель_слушатель", "2"},
    };
    long firstMeasure = 0;
    for (long i = 1; i <= presses; ++i) {
        for (const auto& [name, value] : room)
            window.findChild<QLineEdit*>(QString::fromUtf8(name))->setText(value);
        window.findChild<QAbstractButton*>("CmdРасчет")->click();
        window.findChild<QAbstractButton*>("CmdОчистить")->click();
        if (i == 1000)
            firstMeasure = residentKiB();
        if (i == 100 || i % 1000 == 0)
            std::printf("presses %6ld  warnings %6ld  resident %ld KiB\n", i, boxes.shown,
                        residentKiB());
    }
    if (firstMeasure > 0)
        std::printf("growth from press 1000 to %ld: %ld KiB\n", presses,
                    residentKiB() - firstMeasure);
    return 0;
}
