#include "window/reading_hint.h"

#include "calc/reading_hint.h"
#include "report/utf8.h"

#include <QAccessible>
#include <QLineEdit>

#include <algorithm>

namespace zulcalc {

namespace {

QString rule() {
    return qs(kDecimalPointRule);
}

void describe(QLineEdit* box, const QString& description) {
    if (box->accessibleDescription() == description)
        return;
    box->setAccessibleDescription(description);
    QAccessibleEvent event(box, QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&event);
}

} // namespace

ReadingHint::ReadingHint(QWidget* parent) : QLabel(parent) {
    setObjectName(QStringLiteral("подсказка_чтения"));
    setTextFormat(Qt::PlainText);
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::ToolTipBase);
    setForegroundRole(QPalette::ToolTipText);
    setFrameShape(QFrame::Box);
    setMargin(2);
    hide();
    // Long enough to read a dozen words, as a tooltip stays.
    m_timer.setSingleShot(true);
    m_timer.setInterval(8000);
    connect(&m_timer, &QTimer::timeout, this, &QWidget::hide);
}

void ReadingHint::explainRule(QLineEdit* box) {
    box->setToolTip(rule());
    box->setAccessibleDescription(rule());
}

void ReadingHint::follow(QLineEdit* box) {
    const auto hint = readingHint(box->text().toStdString());
    describe(box, hint ? QString::fromStdString(*hint) : rule());
    if (!hint) {
        if (m_box == box)
            hide();
        return;
    }
    m_box = box;
    setText(QString::fromStdString(*hint));
    adjustSize();
    // Just under the box, kept inside the window.
    QPoint at = box->mapTo(parentWidget(), QPoint(0, box->height()));
    at.setX(std::clamp(at.x(), 0, std::max(0, parentWidget()->width() - width())));
    move(at);
    raise();
    show();
    m_timer.start();
}

} // namespace zulcalc
