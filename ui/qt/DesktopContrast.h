#pragma once

#include <QDBusMessage>
#include <QObject>
#include <QVariant>

namespace pelagrin {

// Whether the desktop asks for high contrast, as its settings portal says, and each time it
// changes its mind. Qt itself does not read this. Two settings say it: the freedesktop one
// (org.freedesktop.appearance contrast, 1 for higher contrast), served by newer portals; and
// GNOME's own switch (org.gnome.desktop.a11y.interface high-contrast), which older portals
// pass on. The freedesktop one wins once it has been seen. With no portal, no session bus or
// no answer the window stays as designed; nothing here waits for the bus.
class DesktopContrast final : public QObject {
    Q_OBJECT

public:
    explicit DesktopContrast(QObject* parent);

    // Asks the portal, and returns at once: Changed gives its answer when it comes.
    void Ask();

signals:
    void Changed(bool high);

private slots:
    void OnSettingChanged(const QDBusMessage& change);

private:
    enum class Setting { Freedesktop, Gnome };
    void Read(Setting setting);
    void Take(Setting setting, const QVariant& value);

    bool read_one_ = true;            // the portal knows ReadOne; the old Read where it does not
    bool freedesktop_seen_ = false;  // the freedesktop setting has been read or announced
};

}  // namespace pelagrin
