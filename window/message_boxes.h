#pragma once

#include <QString>

class QWidget;

namespace zulcalc {

// Modal message boxes, behind an interface so that tests can record them
// instead of waiting for a click.
class MessageBoxes {
  public:
    virtual ~MessageBoxes() = default;
    // Warning icon, one OK button; returns once dismissed.
    virtual void warning(QWidget* parent, const QString& title, const QString& text) = 0;
    // Information icon, one OK button; prose, wrapped to the box.
    virtual void information(QWidget* parent, const QString& title, const QString& text) = 0;
    // Critical icon; `details`, when given, sits in the box's folded details section.
    virtual void error(QWidget* parent, const QString& title, const QString& text,
                       const QString& details = {}) = 0;
    // Question icon, two buttons; prose, wrapped to the box. True only for
    // `accept`: `decline` is the default, and Esc or closing the box means it.
    virtual bool question(QWidget* parent, const QString& title, const QString& text,
                          const QString& accept, const QString& decline) = 0;
};

class ModalMessageBoxes : public MessageBoxes {
  public:
    void warning(QWidget* parent, const QString& title, const QString& text) override;
    void information(QWidget* parent, const QString& title, const QString& text) override;
    void error(QWidget* parent, const QString& title, const QString& text,
               const QString& details = {}) override;
    bool question(QWidget* parent, const QString& title, const QString& text, const QString& accept,
                  const QString& decline) override;
};

} // namespace zulcalc
