#pragma once

#include <QIcon>
#include <QLabel>

#include <functional>

class QLineEdit;

namespace zulcalc {

// A warning sign just right of a numeric box for as long as the box's text
// holds more than it reads (see readingHint), beside every such box at once.
// Each numeric box has room there before the next caption: the sign covers
// no caption and nothing typed, and takes neither the focus nor keys. The
// hint is its tooltip and name, and the box's tooltip, What's This (Shift+F1)
// and accessible description, which a screen reader says with the box;
// without a hint those state the standing rule.
class ReadingHint : public QLabel {
  public:
    // What the warning boxes show, asked for each time the sign is drawn.
    using Sign = std::function<const QIcon&()>;

    // Beside the box, following its text from now on.
    ReadingHint(QLineEdit* box, Sign sign);

  protected:
    // Drawn for the screen it is on: a pixmap made once, for the screen the
    // window opened on, would blur on a screen of another scale.
    void paintEvent(QPaintEvent* event) override;

  private:
    void follow();

    QLineEdit* m_box;
    Sign m_sign;
};

} // namespace zulcalc
