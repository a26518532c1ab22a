#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QIcon>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "ui/FormDescription.h"
#include "ui/qt/Form1.h"

namespace {

bool IsSet(const char* variable) {
    const char* value = std::getenv(variable);
    return value != nullptr && *value != '\0';
}

// Has Qt open the window on the desktop's own display server. Qt 6.4 takes X11 first even
// on a Wayland desktop, where the window would then go through Xwayland: drawn at one scale
// and stretched on a high-density screen, and missing where Xwayland is not run. So on a
// Wayland session it asks for Wayland first and X11 second. A platform the user names, in
// QT_QPA_PLATFORM or with -platform, is left alone. Returns false, having said so in one
// line, where there is no display at all: Qt would abort with advice to reinstall.
bool ChooseDisplay(int argc, const char* const argv[]) {
    if (IsSet("QT_QPA_PLATFORM")) {
        return true;
    }
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0) {
            return true;
        }
    }
    const char* session = std::getenv("XDG_SESSION_TYPE");
    const bool wayland = IsSet("WAYLAND_DISPLAY");
    if (!wayland && !IsSet("DISPLAY")) {
        std::fputs(
            "no display: neither WAYLAND_DISPLAY nor DISPLAY is set; start pelagrin "
            "from a Wayland or X11 desktop session\n",
            stderr);
        return false;
    }
    if (wayland || (session != nullptr && std::strcmp(session, "wayland") == 0)) {
        qputenv("QT_QPA_PLATFORM", "wayland;xcb");
    }
    return true;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (!ChooseDisplay(argc, argv)) {
        return EXIT_FAILURE;
    }
    QApplication application(argc, argv);
    // Only the name: a display name would make Qt append it to the window's caption.
    QApplication::setApplicationName(QString::fromUtf8(pelagrin::form::kApplicationTitle));
    // The Wayland app id and X11 class hint: lets shells match the window to its desktop
    // entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.pelagrin.Pelagrin"));
    // Every size the resources hold, each drawn for itself rather than scaled from one.
    QIcon icon;
    for (const QFileInfo& image : QDir(QStringLiteral(":/icons")).entryInfoList(QDir::Files)) {
        icon.addFile(image.filePath());
    }
    QApplication::setWindowIcon(icon);

    pelagrin::Form1 window;
    window.show();
    return QApplication::exec();
}
