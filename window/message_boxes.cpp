#include "window/message_boxes.h"

#include <QGridLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

#include <algorithm>
#include <functional>

namespace zulcalc {

namespace {

// Shows the box until dismissed, and says how: the role of the button
// clicked. `buttons` adds the box's own in place of OK.
QMessageBox::ButtonRole show(QWidget* parent, QMessageBox::Icon icon, const QString& title,
                             const QString& text, bool wrap, const QString& details = {},
                             const std::function<void(QMessageBox&)>& buttons = {}) {
    QMessageBox box(icon, title, text, buttons ? QMessageBox::NoButton : QMessageBox::Ok, parent);
    if (buttons)
        buttons(box);
    box.setTextFormat(Qt::PlainText);
    box.setDetailedText(details);
    // The warnings' five lines are the code of practice's wording, one
    // thought a line: the box grows to fit them rather than re-wrapping them
    // at its own preferred width (which a spacer as wide as the text
    // overrides; the label alone would be re-wrapped when shown).
    auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (!wrap && label && grid) {
        int widest = 0;
        for (const QString& line : text.split(QChar('\n')))
            widest = std::max(widest, label->fontMetrics().horizontalAdvance(line + "  "));
        int row = 0, column = 0, rows = 0, columns = 0;
        grid->getItemPosition(grid->indexOf(label), &row, &column, &rows, &columns);
        grid->addItem(new QSpacerItem(widest, 0, QSizePolicy::Minimum, QSizePolicy::Minimum),
                      grid->rowCount(), column);
    }
    box.exec();
    return box.buttonRole(box.clickedButton());
}

} // namespace

void ModalMessageBoxes::warning(QWidget* parent, const QString& title, const QString& text) {
    show(parent, QMessageBox::Warning, title, text, false);
}

void ModalMessageBoxes::information(QWidget* parent, const QString& title, const QString& text) {
    show(parent, QMessageBox::Information, title, text, true);
}

void ModalMessageBoxes::error(QWidget* parent, const QString& title, const QString& text,
                              const QString& details) {
    show(parent, QMessageBox::Critical, title, text, true, details);
}

bool ModalMessageBoxes::question(QWidget* parent, const QString& title, const QString& text,
                                 const QString& accept, const QString& decline) {
    const auto buttons = [&](QMessageBox& box) {
        box.addButton(accept, QMessageBox::AcceptRole);
        QPushButton* no = box.addButton(decline, QMessageBox::RejectRole);
        box.setDefaultButton(no);
        box.setEscapeButton(no);
    };
    return show(parent, QMessageBox::Question, title, text, true, {}, buttons) ==
           QMessageBox::AcceptRole;
}

} // namespace zulcalc
