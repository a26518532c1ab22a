// Renders the README's picture of the window: the depth 100 and O2 32 typed and Enter
// pressed, exactly as a diver would, drawn off screen so it can be made on any machine.
// Usage: pelagrin_screenshot <output.png>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>

#include <cstdio>

#include "ui/qt/Form1.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output.png>\n", argv[0]);
        return 2;
    }
    pelagrin::Form1 window;
    window.show();
    auto* o2 = window.findChild<QLineEdit*>(QStringLiteral("txtO2"));
    window.findChild<QLineEdit*>(QStringLiteral("txtAD"))->setText(QStringLiteral("100"));
    o2->setText(QStringLiteral("32"));
    o2->setFocus();
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    QApplication::sendEvent(o2, &enter);
    QApplication::processEvents();
    return window.grab().save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
