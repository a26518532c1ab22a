#pragma once

#include <QObject>

#include <functional>

class QLineEdit;

namespace pelagrin {

// Calculates when Enter (main or keypad, any modifiers, auto-repeat included) is pressed in a
// box that holds text; the key then goes on to the box as usual. A diver types the depth,
// the O2, and presses Enter without reaching for the mouse.
class EnterKeyFilter final : public QObject {
    Q_OBJECT

public:
    EnterKeyFilter(QLineEdit* box, std::function<void()> calculate);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* box_;
    std::function<void()> calculate_;
};

}  // namespace pelagrin
