#pragma once

#include <QObject>

class QEvent;

namespace pelagrin {

// Has the keypad's decimal key type the one decimal point the calculator reads into the boxes
// it watches, whatever character the keyboard layout puts on it: German and most European
// layouts put a comma there, which would cut a typed 32,5 % to 32 %. A comma typed on the
// main keyboard or pasted is left as it is, and with NumLock off the key is Delete as ever.
class KeypadDecimalKey final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace pelagrin
