"""A desktop's settings portal, as python3-dbusmock serves it, saying whether the desktop wants
high contrast. Parameters: "contrast" (the freedesktop setting, 0 or 1), "high-contrast"
(GNOME's own switch, a boolean), each served only when given, and "version": 2 (the default)
answers ReadOne and Read, as xdg-desktop-portal 1.20 does; 1 answers only the old Read, each
value wrapped in one variant more, as xdg-desktop-portal 1.16 does. Change(namespace, key,
value) sets a value and announces it, as the portal does when the diver switches it.
"""
import dbus
import dbusmock

BUS_NAME = "org.freedesktop.portal.Desktop"
MAIN_OBJ = "/org/freedesktop/portal/desktop"
MAIN_IFACE = "org.freedesktop.portal.Settings"
SYSTEM_BUS = False

NAMES = {"contrast": ("org.freedesktop.appearance", "contrast", dbus.UInt32),
         "high-contrast": ("org.gnome.desktop.a11y.interface", "high-contrast", dbus.Boolean)}


def load(mock, parameters):
    mock.settings = {}
    for parameter, (namespace, key, kind) in NAMES.items():
        if parameter in parameters:
            mock.settings[namespace, key] = kind(parameters[parameter])
    version = int(parameters.get("version", 2))
    mock.AddProperty(MAIN_IFACE, "version", dbus.UInt32(version))
    mock.AddMethod(MAIN_IFACE, "Read", "ss", "v",
                   lambda self, namespace, key: read(self, namespace, key, layers=2))
    if version >= 2:
        mock.AddMethod(MAIN_IFACE, "ReadOne", "ss", "v",
                       lambda self, namespace, key: read(self, namespace, key, layers=1))


def read(mock, namespace, key, layers):
    if (namespace, key) not in mock.settings:
        raise dbus.exceptions.DBusException("Requested setting not found",
                                            name="org.freedesktop.portal.Error.NotFound")
    value = mock.settings[namespace, key]
    return type(value)(value, variant_level=layers)


@dbus.service.method(dbusmock.MOCK_IFACE, in_signature="ssv", out_signature="")
def Change(self, namespace, key, value):
    self.settings[namespace, key] = value
    self.EmitSignal(MAIN_IFACE, "SettingChanged", "ssv", [namespace, key, value])
