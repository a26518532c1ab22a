"""The window follows the desktop's high-contrast setting, read from its settings portal (a
dbusmock portal on a bus of the test's own) at start and live: in high contrast every text is
one colour at least 7:1 from its background; switched off, the form's own colours are back,
without a restart. With no portal, or no bus at all, the window is as designed. The Windows
window, under wine, likewise when the system says a high-contrast theme was switched on.
Read from the pixels the window paints."""
import subprocess
import time
from pathlib import Path

import dbus
import dbusmock
import pytest
from PIL import Image
from Xlib import X
from Xlib.display import Display

from conftest import run, wait_for

FREEDESKTOP = ("org.freedesktop.appearance", "contrast")
GNOME = ("org.gnome.desktop.a11y.interface", "high-contrast")
# The form's coloured captions, on black: magenta, blue, green, yellow, orange, red.
FORM_COLOURS = {(255, 0, 255), (0, 0, 255), (0, 255, 0), (255, 255, 0), (255, 128, 0),
                (255, 0, 0)}


@pytest.fixture
def portal(session_bus):
    """Starts the settings portal on the test's bus (see desktop_portal.py); stops it after."""
    daemons = []

    def start(**parameters):
        daemon, portal = dbusmock.DBusTestCase.spawn_server_template(
            str(Path(__file__).with_name("desktop_portal.py")), parameters,
            stdout=subprocess.DEVNULL)
        daemons.append(daemon)
        return dbus.Interface(portal, dbusmock.MOCK_IFACE)

    yield start
    for daemon in daemons:
        daemon.terminate()
        daemon.wait()


def painted(window, area=None):
    """How many of the window's pixels (in `area`, x, y, width, height, if given) have each
    colour."""
    display = Display()
    drawable = display.create_resource_object("window", int(window))
    geometry = drawable.get_geometry()
    x, y, width, height = area or (0, 0, geometry.width, geometry.height)
    data = drawable.get_image(x, y, width, height, X.ZPixmap, 0xFFFFFFFF).data
    display.close()
    image = Image.frombytes("RGB", (width, height), data, "raw", "BGRX")
    return {colour: count for count, colour in image.getcolors(width * height)}


def luminance(colour):
    def linear(c):
        c /= 255
        return c / 12.92 if c <= 0.04045 else ((c + 0.055) / 1.055) ** 2.4
    red, green, blue = (linear(c) for c in colour)
    return 0.2126 * red + 0.7152 * green + 0.0722 * blue


def contrast(first, second):
    a, b = sorted((luminance(first), luminance(second)))
    return (b + 0.05) / (a + 0.05)


def in_high_contrast(counts):
    """Every pixel is the background, the one text colour (at least 7:1 from it) or a blend of
    the two, as the edges of smoothed letters are."""
    background = max(counts, key=counts.get)
    text = max(counts, key=lambda colour: contrast(colour, background))
    if contrast(text, background) < 7:
        return False
    for colour in counts:
        share = [(c - b) / (t - b) for c, b, t in zip(colour, background, text) if t != b]
        if any(abs(c - b) > 2 for c, b, t in zip(colour, background, text) if t == b):
            return False
        if max(share) - min(share) > 0.02:
            return False
    return True


def as_designed(counts):
    return FORM_COLOURS <= counts.keys()


@pytest.mark.parametrize("version, setting, on, off", [
    (2, FREEDESKTOP, dbus.UInt32(1), dbus.UInt32(0)),
    (1, GNOME, dbus.Boolean(True), dbus.Boolean(False)),  # Debian 12's portal
], ids=["freedesktop setting", "GNOME setting through the old Read"])
def test_high_contrast_at_start_and_off_again_live(calculator, portal, version, setting, on, off):
    mock = portal(version=dbus.UInt32(version), **{setting[1]: on})
    app = calculator()
    app.calculate("100", "32")  # the boxes' text too
    wait_for("high contrast", lambda: in_high_contrast(painted(app.main)))

    mock.Change(*setting, off)
    wait_for("the form's own colours", lambda: as_designed(painted(app.main)))
    if setting == FREEDESKTOP:
        # Once the freedesktop setting has spoken, GNOME's own switch is not listened to.
        mock.Change(*GNOME, dbus.Boolean(True))
        time.sleep(1)  # an answer, were one to come, would come by now
        assert as_designed(painted(app.main))


@pytest.mark.parametrize("bus", ["no portal", "no session bus"])
def test_as_designed_without_a_portal(calculator, session_bus, bus, monkeypatch):
    if bus == "no session bus":
        monkeypatch.delenv("DBUS_SESSION_BUS_ADDRESS")
    app = calculator()
    app.calculate("100", "32")
    time.sleep(1)  # an answer, were one to come, would come by now
    assert as_designed(painted(app.main))


def test_windows_window_takes_a_high_contrast_theme_switched_on_live(calculator, request):
    """Wine has no such theme: the program under test is built with the system's answer
    replaced (HighContrastTheme.cpp), off at start and on once the probe has announced the
    switch (WM_SETTINGCHANGE); then wine's own colours, black text on a white window."""
    app = calculator()
    app.calculate("100", "32")
    client_area = (5, 43, 389, 326)  # below wine's title and menu bars, at 96 dpi
    assert as_designed(painted(app.main, client_area))
    run("wine", str(request.config.getoption("probe")), timeout=60)
    wait_for("the theme's colours", lambda: in_high_contrast(painted(app.main, client_area)))
