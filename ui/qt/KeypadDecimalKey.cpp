#include "ui/qt/KeypadDecimalKey.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QString>

#include <cstdint>

#include "core/Val.h"

namespace pelagrin {
namespace {

// The key's two X keysyms (X11 and Wayland alike report the keysym as the native key): the
// decimal point and the separator that comma layouts give it.
constexpr std::uint32_t kKeypadDecimal = 0xffae;    // XKB_KEY_KP_Decimal
constexpr std::uint32_t kKeypadSeparator = 0xffac;  // XKB_KEY_KP_Separator

// The keypad's decimal key, pressed where it types a character (not with Ctrl, say).
bool TypesKeypadDecimal(const QKeyEvent& key) {
    if (!key.modifiers().testFlag(Qt::KeypadModifier) || key.text().isEmpty() ||
        !key.text().front().isPrint()) {
        return false;
    }
    const std::uint32_t keysym = key.nativeVirtualKey();
    return keysym == kKeypadDecimal || keysym == kKeypadSeparator || key.key() == Qt::Key_Period ||
           key.key() == Qt::Key_Comma;
}

}  // namespace

bool KeypadDecimalKey::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && TypesKeypadDecimal(*static_cast<QKeyEvent*>(event))) {
        if (auto* box = qobject_cast<QLineEdit*>(watched)) {
            box->insert(QString(QLatin1Char(kDecimalPoint)));  // over a selection, undoably
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace pelagrin
