#pragma once

#include <QLabel>
#include <QPointer>
#include <QTimer>

class QLineEdit;

namespace zulcalc {

// A note that floats under a numeric box while its text holds more than the
// box reads (see readingHint): a child of the window rather than a tooltip,
// which the next key press would close, so it takes neither the focus nor
// clicks nor keys, and goes away by itself. A screen reader finds it as the
// box's description.
class ReadingHint : public QLabel {
  public:
    explicit ReadingHint(QWidget* parent);

    // Gives a numeric box its standing rule, as tooltip and description.
    static void explainRule(QLineEdit* box);
    // Shows, or withdraws, the hint for the box's text as it now stands.
    void follow(QLineEdit* box);

  private:
    QTimer m_timer;
    QPointer<QLineEdit> m_box;
};

} // namespace zulcalc
