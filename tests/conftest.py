"""What the desktop tests share: the calculator in a real window, started as a diver starts
it, on pytest-xvfb's display; a session bus, the accessibility bus, a wine and the unpacked
portable folder of the test's own; waiting with a time limit. Run as a program, it gives the
start-up benchmarks the same display, bus and wine."""
import os
import re
import shutil
import subprocess
import sys
import tarfile
import tempfile
import time
from contextlib import contextmanager
from pathlib import Path

import pytest

SUPPORT = Path(__file__).parent / "support"
# The typical dive, depth 100 and O2 32, as Print appends it and as Calculate writes it.
RECORD_100_32 = (SUPPORT / "dive-100-32" / "record.txt").read_bytes()
CAPTIONS_100_32 = (SUPPORT / "dive-100-32" / "captions.txt").read_text().splitlines()

# Every wait polls for up to 20 s: a sanitizer build on a loaded machine starts slowly.
PATIENCE = 20


def pytest_addoption(parser):
    for name in ("program", "archive", "system-libraries", "probe", "root"):
        parser.addoption(f"--{name}", type=Path)
    parser.addoption("--given", action="append", default=[], help="KEY=VALUE, what a test needs")


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


def run(*command, **options):
    """The command's output; fails the test, with what it said, if it fails."""
    done = subprocess.run(command, capture_output=True, text=True, stdin=subprocess.DEVNULL,
                          **options)
    assert done.returncode == 0, f"{command[0]}: {done.stdout}{done.stderr}"
    return done.stdout


def visible_windows(*search):
    """The ids of the visible windows xdotool finds: ("--name", title) or ("--class", name)."""
    return subprocess.run(["xdotool", "search", "--onlyvisible", *search], capture_output=True,
                          text=True).stdout.split()


def keys(*names):
    run("xdotool", "key", "--delay", "40", *names)
    time.sleep(0.2)


def type_text(text):
    run("xdotool", "type", "--delay", "40", text)


def relative_library_paths(*paths):
    """Each RUNPATH or RPATH entry of the ELF files under `paths` that the loader would read
    against wherever the diver starts the program: empty, or neither absolute nor from
    $ORIGIN, the file's own folder. A library planted there would be loaded."""
    files = [f for p in paths for f in ([p] if p.is_file() else p.rglob("*")) if f.is_file()
             and not f.is_symlink() and f.open("rb").read(4) == b"\x7fELF"]
    assert files, f"no ELF file under {paths}"
    found = [(file, entry) for file in files for paths in re.findall(
        r"\((?:RUNPATH|RPATH)\).*\[(.*)\]", run("readelf", "-d", str(file)))
        for entry in paths.split(":")]
    return [f"{file}: {entry!r}" for file, entry in found
            if not re.match(r"/|\$ORIGIN(/|$)|\$\{ORIGIN\}(/|$)", entry)]


@pytest.fixture(autouse=True)
def plain_environment(monkeypatch):
    """Nothing of the desktop the tests are run from steers the program: each test says."""
    for name in ("QT_QPA_PLATFORM", "QT_SCALE_FACTOR", "WAYLAND_DISPLAY", "XDG_SESSION_TYPE"):
        monkeypatch.delenv(name, raising=False)


@pytest.fixture
def spawn(tmp_path):
    """Starts a process, spawn(name, command, **options), its output in `name`.out in the
    test's folder; kills it when the test ends."""
    started = []

    def start(name, command, **options):
        with open(tmp_path / f"{name}.out", "wb") as out:
            started.append(subprocess.Popen([str(c) for c in command], stdin=subprocess.DEVNULL,
                                            stdout=out, stderr=subprocess.STDOUT, **options))
        started[-1].output = tmp_path / f"{name}.out"
        return started[-1]

    yield start
    for process in reversed(started):
        process.kill()
        process.wait()


@pytest.fixture
def given(request):
    """What the test was given as --given KEY=VALUE."""
    return dict(item.split("=", 1) for item in request.config.getoption("given"))


@contextmanager
def own_session_bus():
    """A session bus of its own, in DBUS_SESSION_BUS_ADDRESS until the end."""
    import dbusmock

    dbusmock.DBusTestCase.start_session_bus()
    # python3-dbusmock 0.28 (Debian 12) forgets its folder in /tmp at the end; 0.34 does not.
    forgotten = getattr(dbusmock.DBusTestCase, "_DBusTestCase__datadir", None)
    try:
        yield dbusmock.DBusTestCase.get_dbus()
    finally:
        dbusmock.DBusTestCase.tearDownClass()
        if forgotten:
            shutil.rmtree(forgotten, ignore_errors=True)


@pytest.fixture
def session_bus():
    with own_session_bus() as bus:
        yield bus


@pytest.fixture
def accessibility_bus(session_bus, spawn, monkeypatch):
    """The accessibility bus on the test's session bus, and Qt told to speak on it as it does
    when a screen reader runs."""
    monkeypatch.setenv("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "1")
    spawn("atspi", ["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"])


def end_wine(prefix):
    """Ends the wine server of `prefix` and removes its socket's folder, which Debian's wine 8
    and 10 make in the temporary folder, name in the prefix and leave behind."""
    subprocess.run(["wineserver", "-k"], env={**os.environ, "WINEPREFIX": str(prefix)},
                   capture_output=True, timeout=20)
    if (prefix / "wineserver").exists():
        shutil.rmtree(Path(os.environ.get("TMPDIR", "/tmp"),
                           (prefix / "wineserver").read_text().strip()), ignore_errors=True)


@contextmanager
def own_wine(prefix, managed=False):
    """A wine of its own in `prefix`, ended at the end. Unmanaged windows (the default) spare
    the 2 s wine waits on each window it closes when no window manager answers. No Mono or
    Gecko; no TMPDIR, with which wine 10 cannot make a prefix."""
    saved = dict(os.environ)
    os.environ.pop("TMPDIR", None)
    os.environ.update(WINEPREFIX=str(prefix), WINEDEBUG="-all", LANG="C.UTF-8")
    run("wine", "reg", "add", r"HKCU\Software\Wine\X11 Driver", "/v", "Managed", "/d",
        "Y" if managed else "N", "/f", env={**os.environ, "WINEDLLOVERRIDES": "mscoree=;mshtml="},
        timeout=120)
    try:
        yield prefix
    finally:
        end_wine(prefix)
        os.environ.clear()
        os.environ.update(saved)


@pytest.fixture
def wine(tmp_path):
    with own_wine(tmp_path / "prefix") as prefix:
        yield prefix


@pytest.fixture
def portable(request, tmp_path):
    """The portable archive unpacked into a folder of the test's own (in --root's /tmp, if
    given): its Pelagrin-* folder."""
    root = request.config.getoption("root")
    folder = Path(tempfile.mkdtemp(dir=root / "tmp")) if root else tmp_path / "unpacked"
    with tarfile.open(request.config.getoption("archive")) as archive:
        archive.extractall(folder)
    yield next(folder.glob("Pelagrin-*"))
    if root:
        shutil.rmtree(folder)


class Calculator:
    """The calculator in its window, driven from the keyboard as a diver drives it."""

    def __init__(self, process, log, started_in):
        self.process, self.log, self.started_in = process, log, started_in
        self.output = process.output
        self.main = wait_for("the window 'EAD Calculator'", lambda: self._window("EAD Calculator"))

    def _window(self, title):
        assert self.process.poll() is None, self.output.read_text(errors="replace")
        found = visible_windows("--name", f"^{title}$")
        return found[0] if found else None

    def focus(self):
        # Without a window manager nothing hands the focus back when a box closes: take it, as
        # a user's click would.
        run("xdotool", "windowfocus", "--sync", self.main)

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
        wait_for("the File menu",
                 lambda: set(visible_windows("--class", "pelagrin")) - {self.main})
        keys(access_key)

    def dismiss(self):
        """Dismisses the box titled with the application's name with Enter."""
        box = wait_for("the message box", lambda: self._window("Pelagrin"))
        run("xdotool", "windowfocus", "--sync", box)
        keys("Return")
        wait_for("the box to close", lambda: box not in visible_windows("--name", "^Pelagrin$"))

    def print_record(self):
        """File > Print and its confirmation; the record it appended."""
        before = self.log.read_bytes() if self.log.exists() else b""
        self.file_menu("p")
        self.dismiss()
        return self.log.read_bytes()[len(before):]

    def exit(self):
        """File > Exit, which ends the process at once, and cleanly."""
        self.file_menu("x")
        assert self.process.wait(PATIENCE) == 0, self.output.read_text(errors="replace")


@pytest.fixture
def calculator(request, tmp_path, spawn):
    """Starts a calculator, calculator(program, under=(command...), log=path, **environment):
    by default the program under test copied into a folder whose name is not plain ASCII,
    under a wine of the test's own if it is a Windows program. It starts from another folder,
    holding a planted Qt library that must never be loaded; the log lands beside the program."""
    elsewhere = tmp_path / "elsewhere"
    elsewhere.mkdir()
    (elsewhere / "libQt6Widgets.so.6").write_text("garbage")  # "file too short", if loaded

    def start(program=None, under=(), log=None, **environment):
        if program is None:
            (tmp_path / "Tauchgänge").mkdir(exist_ok=True)
            program = Path(shutil.copy(request.config.getoption("program").resolve(),
                                       tmp_path / "Tauchgänge"))
        if program.suffix == ".exe":
            request.getfixturevalue("wine")
            under = ("wine", *under)
        process = spawn("program", [*under, program], cwd=elsewhere,
                        env={**os.environ, **environment})
        return Calculator(process, log or program.parent / "Nitrox.txt", elsewhere)

    return start


if __name__ == "__main__" and sys.argv[1] == "--end-wine":
    end_wine(Path(sys.argv[2]))  # conftest.py --end-wine PREFIX: after the last test under wine
elif __name__ == "__main__":
    # conftest.py [--bus] [--wine PREFIX] COMMAND...: COMMAND on a display of its own, as
    # pytest.ini has the tests', with a session bus, and with a wine of its own whose windows
    # are managed as on a desktop.
    import configparser
    from contextlib import ExitStack

    from pyvirtualdisplay import Display

    ini = configparser.ConfigParser()
    ini.read(Path(__file__).with_name("pytest.ini"))
    xvfb, command = ini["pytest"], sys.argv[1:]
    with ExitStack() as stack:
        stack.enter_context(Display(size=(int(xvfb["xvfb_width"]), int(xvfb["xvfb_height"])),
                                    color_depth=int(xvfb["xvfb_colordepth"]),
                                    extra_args=xvfb["xvfb_args"].split()))
        if command[0] == "--bus":
            stack.enter_context(own_session_bus())
            command = command[1:]
        if command[0] == "--wine":
            stack.enter_context(own_wine(Path(command[1]), managed=True))
            command = command[2:]
        status = subprocess.run(command).returncode
    sys.exit(status)
