#include "window/message_boxes.h"

#include <QMessageBox>

namespace zulcalc {

namespace {

void show(QWidget* parent, QMessageBox::Icon icon, const QString& title, const QString& text) {
    QMessageBox box(icon, title, text, QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

} // namespace

void ModalMessageBoxes::warning(QWidget* parent, const QString& title, const QString& text) {
    show(parent, QMessageBox::Warning, title, text);
}

void ModalMessageBoxes::error(QWidget* parent, const QString& title, const QString& text) {
    show(parent, QMessageBox::Critical, title, text);
}

} // namespace zulcalc
