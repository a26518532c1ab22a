"""The portable Linux folder, as a diver unpacks it: every library it asks for is in lib/ or left
to the system on purpose (a pattern of --system-libraries); with the system's Qt hidden it
calculates 100 and 32 and prints the exact record beside bin/pelagrin, on X11 from the
keyboard and on Wayland (or X11) through the accessibility bus alone, as voice control or a
screen reader's user would; and it starts on another release (a chroot given as --root).
"""
import os
import re
import subprocess
from pathlib import Path

import pytest

from conftest import RECORD_100_32, relative_library_paths, run, visible_windows, wait_for


def needed(file):
    return re.findall(r"\(NEEDED\).*\[(.*)\]", run("readelf", "-d", str(file)))


def left_to_the_system(request, name):
    patterns = request.config.getoption("system_libraries").read_text().split()
    return any(re.search(pattern, name) for pattern in patterns)


def own_files(folder):
    files = [folder / "bin/pelagrin", *folder.glob("lib/*.so*"), *folder.glob("plugins/*/*.so")]
    return [file for file in files if not file.is_symlink()]


def test_every_library_asked_for_is_in_the_folder_or_left_to_the_system(portable, request):
    missing = [f"{file.relative_to(portable)} needs {name}" for file in own_files(portable)
               for name in needed(file)
               if not (portable / "lib" / name).exists() and not left_to_the_system(request, name)]
    assert not missing


@pytest.fixture
def system_qt_hidden(monkeypatch):
    """Every Qt library of the system an empty file and Qt's plugin folders empty, in the
    test's own mount namespace (CTest's OWN_NAMESPACE)."""
    for library in [*Path("/usr/lib").glob("*/libQt6*.so.6"), *Path("/lib").glob("*/libQt6*.so.6")]:
        run("mount", "--bind", "/dev/null", str(library))
    for plugins in Path("/usr/lib").glob("*/qt6/plugins"):
        run("mount", "-t", "tmpfs", "none", str(plugins))
    monkeypatch.delenv("QT_PLUGIN_PATH", raising=False)
    monkeypatch.delenv("LD_LIBRARY_PATH", raising=False)


def loaded_outside(request, log, folder):
    """The libraries the program's own process took from outside the folder, from the glibc
    loader's log (LD_DEBUG=libs,files; glibc 2.36 and 2.41). Each must be left to the system
    on purpose, or be needed only by such a library (libxcb's libXau, say)."""
    text = log.read_text()
    loaded = set(re.findall(r"calling init: (\S+)", text))
    outside = {Path(path) for path in loaded if not path.startswith(f"{folder}/")}
    assert outside, "the loader's log names no library from the system"
    for library in outside:
        if not left_to_the_system(request, library.name):
            wanted_by = re.findall(rf"file=\S*{re.escape(library.name)} \[0\];\s*"
                                   r"(?:needed|dynamically loaded) by (\S+)", text)
            assert not [who for who in wanted_by if who.startswith(f"{folder}/")], library
    return loaded


def test_calculates_and_prints_with_the_systems_qt_hidden(portable, system_qt_hidden,
                                                           calculator, request, tmp_path):
    app = calculator(portable / "bin/pelagrin", LD_DEBUG="libs,files",
                     LD_DEBUG_OUTPUT=str(tmp_path / "loader"))
    app.calculate("100", "32")
    app.print_record()
    assert app.log.read_bytes() == RECORD_100_32
    app.exit()
    # Only the program's own log counts: a child (the dbus-launch that libdbus starts where
    # there is no session bus) writes logs of its own.
    loaded = loaded_outside(request, tmp_path / f"loader.{app.process.pid}", portable)
    assert f"{portable}/plugins/platforms/libqxcb.so" in loaded
    assert relative_library_paths(portable) == []


def test_starts_on_another_release(portable, calculator, request):
    """Run by scripts/test-debian13.sh as root, with --root a minimal Debian 13 whose /tmp
    the folder was unpacked into."""
    root = request.config.getoption("root")
    in_chroot = [str(Path(__file__).parents[2] / "scripts/in-chroot.sh"), str(root)]
    inside = Path("/") / portable.relative_to(root)
    missing = run("bash", *in_chroot, "bash", "-c", 'for file in "$1"/bin/pelagrin "$1"/lib/*.so*'
                  ' "$1"/plugins/*/*.so; do ldd "$file" | grep "not found" || true; done', "-",
                  str(inside))
    assert not missing
    app = calculator(inside / "bin/pelagrin", under=("bash", *in_chroot),
                     log=portable / "bin/Nitrox.txt")
    app.calculate("100", "32")
    assert app.print_record() == RECORD_100_32
    app.exit()


def wayland_requests(trace):
    """The requests a program sent, from libwayland's WAYLAND_DEBUG=1 trace, each as
    (interface, request, arguments): libwayland 1.21 writes object@id, 1.23 object#id."""
    return re.findall(r"-> (\w+)[@#]\d+\.(\w+)\((.*)\)$", trace.read_text(errors="replace"),
                      re.M)


def drive_through_the_accessibility_bus(pid):
    """Reads each box's name and the caption that labels it, types 100 and 32 into them,
    chooses Calculate, then File > Print and the OK of its box, through AT-SPI alone."""
    import pyatspi
    from gi.repository import GLib

    def find(root, role, name):
        return pyatspi.findDescendant(root, lambda n: n.getRole() == role and n.name == name)

    def wait(what, lookup):
        def attempt():
            try:
                return lookup()
            except GLib.Error:
                return None
        return wait_for(f"{what} on the accessibility bus", attempt)

    desktop = pyatspi.Registry.getDesktop(0)
    app = wait("the program", lambda: next((a for a in desktop if a and a.get_process_id() == pid),
                                           None))
    frame = wait("the window", lambda: find(app, pyatspi.ROLE_FRAME, "EAD Calculator"))
    for caption, text in (("Actual Depth fsw", "100"), ("%O2 in Nitrox Mix", "32")):
        label = wait(caption, lambda: find(frame, pyatspi.ROLE_LABEL, caption))
        box = find(frame, pyatspi.ROLE_TEXT, caption)
        assert box, f"no box named {caption}"
        assert [r.getTarget(0) for r in box.getRelationSet()
                if r.getRelationType() == pyatspi.RELATION_LABELLED_BY] == [label]
        assert box.queryEditableText().setTextContents(text)
    menu_bar = wait("the menu bar", lambda: find(frame, pyatspi.ROLE_MENU_BAR, ""))
    find(menu_bar, pyatspi.ROLE_MENU_ITEM, "Calculate").queryAction().doAction(0)
    file_menu = find(menu_bar, pyatspi.ROLE_MENU, "File") or find(
        menu_bar, pyatspi.ROLE_MENU_ITEM, "File")
    # Print's box is modal: the program answers the action once it is closed.
    pyatspi.setTimeout(300, -1)
    try:
        find(file_menu, pyatspi.ROLE_MENU_ITEM, "Print").queryAction().doAction(0)
    except GLib.Error:
        pass
    pyatspi.setTimeout(25000, -1)
    wait("Print's OK", lambda: find(app, pyatspi.ROLE_PUSH_BUTTON, "OK")).queryAction().doAction(0)


def test_wayland_and_x11_through_the_accessibility_bus(portable, system_qt_hidden,
                                                        accessibility_bus, spawn, monkeypatch,
                                                        tmp_path, request):
    display = os.environ["DISPLAY"]
    monkeypatch.delenv("DISPLAY")
    runtime = tmp_path / "runtime"
    runtime.mkdir(mode=0o700)
    monkeypatch.setenv("XDG_RUNTIME_DIR", str(runtime))
    program, log = portable / "bin/pelagrin", portable / "bin/Nitrox.txt"
    app_id = ("xdg_toplevel", "set_app_id", '"org.pelagrin.Pelagrin"')

    def start(name, **environment):
        return spawn(name, [program], env={**os.environ, **environment, "WAYLAND_DEBUG": "1"})

    def weston(socket, scale):
        spawn(socket, ["weston", "--backend=headless-backend.so", "--use-pixman", "--no-config",
                       "--idle-time=0", "--width=1024", "--height=768", f"--scale={scale}",
                       f"--socket={socket}"])
        wait_for(f"weston on {socket}", (runtime / socket).exists)

    # No display at all: one line saying so, and a failure, not an abort.
    none = subprocess.run([program], capture_output=True, text=True)
    assert 0 < none.returncode < 128 and re.fullmatch(r"no display: .*\n", none.stderr)

    # A Wayland desktop: a native Wayland window, named after the desktop entry.
    weston("wayland-1", 1)
    app = start("wayland", WAYLAND_DISPLAY="wayland-1", LD_DEBUG="libs,files",
                LD_DEBUG_OUTPUT=str(tmp_path / "loader"))
    wait_for("the Wayland window", lambda: {app_id, ("xdg_toplevel", "set_title",
             '"EAD Calculator"')} <= set(wayland_requests(app.output)))
    drive_through_the_accessibility_bus(app.pid)
    wait_for("the record", lambda: log.exists() and log.read_bytes() == RECORD_100_32)
    app.kill()
    app.wait()
    loaded = loaded_outside(request, tmp_path / f"loader.{app.pid}", portable)
    # weston draws no title bars: the window draws its own.
    for plugin in ("platforms/libqwayland-generic.so", "wayland-shell-integration/libxdg-shell.so",
                   "wayland-decoration-client/libbradient.so"):
        assert f"{portable}/plugins/{plugin}" in loaded

    # Both displays, as in a Wayland session that runs Xwayland: still Wayland.
    monkeypatch.setenv("DISPLAY", display)
    app = start("both", WAYLAND_DISPLAY="wayland-1")
    wait_for("the Wayland window", lambda: app_id in wayland_requests(app.output))
    app.kill()

    # X11 alone: an X window, driven the same way.
    app = start("x11")
    wait_for("the X window", lambda: visible_windows("--name", "^EAD Calculator$"))
    drive_through_the_accessibility_bus(app.pid)
    wait_for("the record", lambda: log.read_bytes() == RECORD_100_32 * 2)
    assert not wayland_requests(app.output)
    app.kill()
    monkeypatch.delenv("DISPLAY")

    # Asked for Wayland by name on an output of scale 2: twice the pixels, sharp.
    weston("wayland-2", 2)
    app = start("scaled", WAYLAND_DISPLAY="wayland-2", QT_QPA_PLATFORM="wayland")
    wait_for("a buffer at scale 2", lambda: {("wl_surface", "set_buffer_scale", "2"),
             "create_buffer"} <= {*wayland_requests(app.output),
                                  *(r for _, r, _ in wayland_requests(app.output))})
    sizes = {r: int(a.split(", ")[2]) for _, r, a in reversed(wayland_requests(app.output))
             if r in ("set_window_geometry", "create_buffer")}  # the first of each
    assert sizes["create_buffer"] == 2 * sizes["set_window_geometry"]
