#include "ui/qt/Announcer.h"

#include <QAccessibleWidget>

namespace pelagrin {
namespace {

QAccessibleInterface* AsNotification(const QString& /*class_name*/, QObject* object) {
    if (auto* announcer = dynamic_cast<Announcer*>(object)) {
        return new QAccessibleWidget(announcer, QAccessible::Notification);
    }
    return nullptr;
}

}  // namespace

Announcer::Announcer(QWidget* parent) : QWidget(parent) {
    static const bool factory_installed = [] {
        QAccessible::installFactory(AsNotification);
        return true;
    }();
    static_cast<void>(factory_installed);
    setObjectName(QStringLiteral("announcer"));
    setGeometry(0, 0, 0, 0);
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    hide();
}

void Announcer::Say(const QString& text) {
    // Screen readers hear of a notification when it starts showing: hidden first, so the
    // same figures calculated again are spoken again.
    hide();
    setAccessibleName(text);
    show();
}

}  // namespace pelagrin
