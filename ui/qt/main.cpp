#include <QApplication>
#include <QIcon>

#include "ui/qt/Form1.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    // Only the name: a display name would make Qt append it to the window's caption.
    QApplication::setApplicationName(QStringLiteral("Pelagrin"));
    // Lets Wayland shells match the window to its desktop entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.pelagrin.Pelagrin"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/pelagrin.png")));

    pelagrin::Form1 window;
    window.show();
    return QApplication::exec();
}
