"""What the desktop tests share: the calculator started in a real window as a diver starts it,
a display of the test's own (pytest-xvfb starts one Xvfb a test run), a private session bus
(python3-dbusmock), a wine of the test's own for the Windows program, and waiting with a time
limit. Each test run is one CTest test; the program under test comes as --program.
"""
import os
import shutil
import signal
import subprocess
import time
from pathlib import Path

import pytest

SUPPORT = Path(__file__).parent / "support"
# The typical dive, depth 100 and O2 32, as Print appends it.
RECORD_100_32 = (SUPPORT / "dive-100-32" / "record.txt").read_bytes()
CAPTIONS_100_32 = (SUPPORT / "dive-100-32" / "captions.txt").read_text().splitlines()

# Every wait polls for up to 20 s: a sanitizer build on a loaded machine starts slowly.
PATIENCE = 20


def pytest_addoption(parser):
    parser.addoption("--program", type=Path, help="the calculator under test")


def wait_for(what, find, seconds=PATIENCE):
    """The first true thing find() gives within `seconds`; fails the test, naming `what`,
    if there is none."""
    end = time.monotonic() + seconds
    while True:
        found = find()
        if found:
            return found
        if time.monotonic() > end:
            pytest.fail(f"waited {seconds} s in vain for {what}")
        time.sleep(0.05)


def xdotool(*args):
    return subprocess.run(["xdotool", *args], capture_output=True, text=True).stdout.split()


def visible_windows(**search):
    """The ids of the visible windows whose title (name=) or class (class_=) matches, as
    xdotool searches them."""
    terms = [item for key, value in search.items() for item in (f"--{key.rstrip('_')}", value)]
    return xdotool("search", "--onlyvisible", *terms)


def keys(*names):
    subprocess.run(["xdotool", "key", "--delay", "40", *names], check=True)
    time.sleep(0.2)


def type_text(text):
    subprocess.run(["xdotool", "type", "--delay", "40", text], check=True)


@pytest.fixture
def keyboard_layout():
    """Sets the display's keyboard layout (setxkbmap's names: "de", "us"), as a diver's
    desktop would; back to US at the end."""
    yield lambda layout: subprocess.run(["setxkbmap", layout], check=True)
    subprocess.run(["setxkbmap", "us"], check=True)


@pytest.fixture
def session_bus():
    """A session bus of the test's own, in DBUS_SESSION_BUS_ADDRESS while the test runs."""
    import dbusmock

    dbusmock.DBusTestCase.start_session_bus()
    yield dbusmock.DBusTestCase.get_dbus()
    dbusmock.DBusTestCase.tearDownClass()


@pytest.fixture
def wine(tmp_path, monkeypatch):
    """A wine of the test's own, ended with the test, its server's socket folder removed with
    it. Its windows are left unmanaged: with no window manager to answer, wine would wait
    about 2 s on every window it closes. Mono and Gecko are not wanted; TMPDIR is not handed
    to wine, as wine 10 aborts making a prefix while it is set."""
    prefix = tmp_path / "prefix"
    monkeypatch.delenv("TMPDIR", raising=False)
    monkeypatch.setenv("WINEPREFIX", str(prefix))
    monkeypatch.setenv("WINEDEBUG", "-all")
    monkeypatch.setenv("LANG", "C.UTF-8")
    subprocess.run(["wine", "reg", "add", r"HKCU\Software\Wine\X11 Driver", "/v", "Managed",
                    "/d", "N", "/f"], env={**os.environ, "WINEDLLOVERRIDES": "mscoree=;mshtml="},
                   stdin=subprocess.DEVNULL, capture_output=True, timeout=120, check=True)
    yield prefix
    subprocess.run(["wineserver", "-k"], stdin=subprocess.DEVNULL, capture_output=True,
                   timeout=20)
    stat = prefix.stat()
    shutil.rmtree(f"/tmp/.wine-{os.getuid()}/server-{stat.st_dev:x}-{stat.st_ino:x}",
                  ignore_errors=True)


class Calculator:
    """The calculator in its window, driven from the keyboard as a diver drives it."""

    def __init__(self, command, log, env, cwd):
        self.log = log
        self.output = cwd / "program.out"
        with open(self.output, "wb") as output:
            self.process = subprocess.Popen(command, env=env, cwd=cwd, stdin=subprocess.DEVNULL,
                                            stdout=output, stderr=subprocess.STDOUT)
        self.main = wait_for("the window 'EAD Calculator'", lambda: self._window("EAD Calculator"))

    def _window(self, title):
        if self.process.poll() is not None:
            pytest.fail(f"the program ended ({self.process.returncode}): "
                        f"{self.output.read_text(errors='replace')}")
        found = visible_windows(name=f"^{title}$")
        return found[0] if found else None

    def focus(self):
        # Without a window manager nothing hands the focus back when a box closes: take it, as
        # a user's click would.
        subprocess.run(["xdotool", "windowfocus", "--sync", self.main], check=True)

    def calculate(self, depth, o2):
        """Depth, Tab, O2, Enter."""
        self.focus()
        type_text(depth)
        keys("Tab")
        type_text(o2)
        keys("Return")

    def clear(self):
        self.focus()
        keys("alt+c")

    def file_menu(self, access_key):
        """File > the item with that access key."""
        self.focus()
        keys("alt+f")
        wait_for("the File menu", lambda: [w for w in visible_windows(class_="pelagrin")
                                           if w != self.main])
        keys(access_key)

    def dismiss(self):
        """Dismisses the box titled with the application's name with Enter."""
        box = wait_for("the message box", lambda: self._window("Pelagrin"))
        subprocess.run(["xdotool", "windowfocus", "--sync", box], check=True)
        keys("Return")
        wait_for("the message box to close", lambda: box not in visible_windows(name="^Pelagrin$"))

    def print_record(self):
        """File > Print and its confirmation; the record it appended."""
        before = self.log.read_bytes() if self.log.exists() else b""
        self.file_menu("p")
        self.dismiss()
        return self.log.read_bytes()[len(before):]

    def exit(self):
        """File > Exit, which ends the process at once, and cleanly."""
        self.file_menu("x")
        self.process.wait(PATIENCE)
        assert self.process.returncode == 0, self.output.read_text(errors="replace")

    def end(self):
        if self.process.poll() is None:
            self.process.send_signal(signal.SIGTERM)
            self.process.wait(PATIENCE)


@pytest.fixture
def calculator(request, tmp_path):
    """Starts the program under test (calculator(**environment)) from a copy in a folder of its
    own, with another folder as the current one: the log must land beside the program. A
    Windows program runs under a wine of the test's own."""
    program = request.config.getoption("program").resolve()
    if program.suffix == ".exe":
        request.getfixturevalue("wine")
    started = []

    def start(**environment):
        folder = tmp_path / "bin"
        folder.mkdir(exist_ok=True)
        copy = Path(shutil.copy(program, folder))
        elsewhere = tmp_path / "elsewhere"
        elsewhere.mkdir(exist_ok=True)
        env = {key: value for key, value in os.environ.items()
               if key not in ("QT_QPA_PLATFORM", "QT_SCALE_FACTOR", "WAYLAND_DISPLAY",
                              "XDG_SESSION_TYPE")}
        env.update(environment)
        command = ["wine", str(copy)] if copy.suffix == ".exe" else [str(copy)]
        started.append(Calculator(command, folder / "Nitrox.txt", env, elsewhere))
        return started[-1]

    yield start
    for app in started:
        app.end()
