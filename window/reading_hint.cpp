#include "window/reading_hint.h"

#include "calc/reading_hint.h"
#include "report/utf8.h"

#include <QLineEdit>
#include <QPainter>

namespace zulcalc {

ReadingHint::ReadingHint(QLineEdit* box, Sign sign)
    : QLabel(box->parentWidget()), m_box(box), m_sign(std::move(sign)) {
    setObjectName(QStringLiteral("подсказка_чтения_") + box->objectName());
    // At the size of a menu's icons whatever the style's: nearer its box
    // than the closest caption (that of the width, 23 pixels after the
    // ceiling height's box).
    const int size = 16;
    setGeometry(box->geometry().right() + 3, box->geometry().center().y() - size / 2 + 1, size,
                size);
    connect(box, &QLineEdit::textChanged, this, &ReadingHint::follow);
    follow();
}

void ReadingHint::follow() {
    const auto hint = readingHint(m_box->text().toStdString());
    const QString said = hint ? QString::fromStdString(*hint) : qs(kDecimalPointRule);
    // A screen reader is told of every change of the description: only of
    // those that change it.
    if (m_box->accessibleDescription() != said) {
        m_box->setAccessibleDescription(said);
        m_box->setToolTip(said);
        m_box->setWhatsThis(said); // Shift+F1 in the box: the hint with no mouse
    }
    setToolTip(hint ? said : QString());
    setAccessibleName(toolTip());
    setVisible(hint.has_value());
}

void ReadingHint::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    m_sign().paint(&painter, rect());
}

} // namespace zulcalc
