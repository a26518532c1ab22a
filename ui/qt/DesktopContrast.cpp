#include "ui/qt/DesktopContrast.h"

#include <QDBusConnection>
#include <QDBusError>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QList>
#include <QMetaType>
#include <QVariant>

namespace pelagrin {
namespace {

const QString kService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString kPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString kInterface = QStringLiteral("org.freedesktop.portal.Settings");
const QString kNotFound = QStringLiteral("org.freedesktop.portal.Error.NotFound");

struct Name {
    QString group;
    QString key;
};
const Name kFreedesktop{QStringLiteral("org.freedesktop.appearance"), QStringLiteral("contrast")};
const Name kGnome{QStringLiteral("org.gnome.desktop.a11y.interface"),
                  QStringLiteral("high-contrast")};

// The value inside however many variants the portal wrapped it in (the old Read adds one).
QVariant Unwrapped(QVariant value) {
    while (value.metaType() == QMetaType::fromType<QDBusVariant>()) {
        value = qvariant_cast<QDBusVariant>(value).variant();
    }
    return value;
}

}  // namespace

DesktopContrast::DesktopContrast(QObject* parent) : QObject(parent) {}

void DesktopContrast::Ask() {
    // Any sender: naming the portal would make Qt look up its owner there and then, and wait.
    QDBusConnection::sessionBus().connect(
        QString(), kPath, kInterface, QStringLiteral("SettingChanged"), this,
        SLOT(OnSettingChanged(QDBusMessage)));  // NOLINT: Qt's D-Bus has no other form
    Read(Setting::Freedesktop);
}

void DesktopContrast::Read(Setting setting) {
    const Name& name = setting == Setting::Freedesktop ? kFreedesktop : kGnome;
    QDBusMessage call = QDBusMessage::createMethodCall(
        kService, kPath, kInterface, read_one_ ? QStringLiteral("ReadOne") : QStringLiteral("Read"));
    call << name.group << name.key;
    auto* watcher =
        new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, setting](QDBusPendingCallWatcher* answered) {
                answered->deleteLater();
                const QDBusPendingReply<QDBusVariant> reply = *answered;
                if (!reply.isError()) {
                    Take(setting, reply.argumentAt<0>().variant());
                } else if (reply.error().type() == QDBusError::UnknownMethod && read_one_) {
                    read_one_ = false;  // a portal before ReadOne (version 1)
                    Read(setting);
                } else if (reply.error().name() == kNotFound && setting == Setting::Freedesktop) {
                    Read(Setting::Gnome);
                }
                // Anything else (no portal, no bus, no answer): the form as designed.
            });
}

void DesktopContrast::OnSettingChanged(const QDBusMessage& change) {
    const QList<QVariant> arguments = change.arguments();  // namespace, key, value
    if (arguments.size() != 3) {
        return;
    }
    const QString group = arguments[0].toString();
    const QString key = arguments[1].toString();
    if (group == kFreedesktop.group && key == kFreedesktop.key) {
        Take(Setting::Freedesktop, arguments[2]);
    } else if (group == kGnome.group && key == kGnome.key) {
        Take(Setting::Gnome, arguments[2]);
    }
}

void DesktopContrast::Take(Setting setting, const QVariant& value) {
    const QVariant setting_value = Unwrapped(value);
    if (setting == Setting::Freedesktop) {
        freedesktop_seen_ = true;
        emit Changed(setting_value.toUInt() == 1);
    } else if (!freedesktop_seen_) {
        emit Changed(setting_value.toBool());
    }
}

}  // namespace pelagrin
