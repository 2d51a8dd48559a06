#pragma once

#include <QLabel>

class QLineEdit;

namespace zulcalc {

// A warning sign just right of a numeric box for as long as the box's text
// holds more than it reads (see readingHint), beside every such box at once.
// Each numeric box has room there before the next caption: the sign covers
// no caption and nothing typed, and takes neither the focus nor keys. The
// hint is its tooltip, and the box's tooltip and accessible description,
// which a screen reader says with the box; without a hint those state the
// standing rule.
class ReadingHint : public QLabel {
  public:
    // Beside the box, following its text from now on.
    explicit ReadingHint(QLineEdit* box);

  private:
    void follow();

    QLineEdit* m_box;
};

} // namespace zulcalc
