#include <QApplication>
#include <QIcon>

#include "ui/qt/Form1.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    // Only the name: a display name would make Qt append it to the window's caption.
    QApplication::setApplicationName(QStringLiteral("Pelagrin"));
    // Lets Wayland shells match the window to its desktop entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.pelagrin.Pelagrin"));
    // Every size the resources hold, each drawn for itself rather than scaled from one.
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64}) {
        icon.addFile(QStringLiteral(":/icons/pelagrin-%1.png").arg(size), QSize(size, size));
    }
    QApplication::setWindowIcon(icon);

    pelagrin::Form1 window;
    window.show();
    return QApplication::exec();
}
