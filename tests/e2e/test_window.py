"""The calculator in a real X window, as a diver uses it from the keyboard, under a comma layout
too, and as a blind diver hears it through Orca, the GNOME screen reader."""
import re
import time
from pathlib import Path

import pytest
from Xlib.display import Display

from conftest import CAPTIONS_100_32, RECORD_100_32, keys, run, type_text, wait_for


def test_calculate_print_clear_and_exit_from_the_keyboard(calculator):
    app = calculator()
    display = Display()
    window = display.create_resource_object("window", int(app.main))
    assert window.get_wm_normal_hints().min_width == 393
    icons = window.get_full_property(display.intern_atom("_NET_WM_ICON"), 0).value
    sizes, at = [], 0
    while at < len(icons):  # width, height, then width x height pixels
        sizes.append(tuple(icons[at:at + 2]))
        at += 2 + icons[at] * icons[at + 1]
    assert (32, 32) in sizes

    app.calculate("100", "32")
    assert app.print_record() == RECORD_100_32
    app.clear()  # boxes empty, focus back in the depth box
    keys("Return")  # Enter in the empty depth box does nothing
    assert app.print_record() == b"\r\n\r\n\r\n"  # only the empty lines
    assert not (app.started_in / "Nitrox.txt").exists()
    app.exit()


def test_keypad_decimal_key_types_the_point_and_a_typed_comma_stays(calculator):
    """Under a German keyboard and language, 100, Tab, 32, the keypad's decimal key, 5 and
    Enter give the figures of 32.5 %. A comma typed on the main keyboard stays a comma, where
    reading stops: the figures of 32 %, as always."""
    run("setxkbmap", "de")  # on this run's own display
    app = calculator(LANG="de_DE.UTF-8")
    app.focus()
    type_text("100")
    keys("Tab")
    type_text("32")
    keys("KP_Separator", "5", "Return")  # the keypad's decimal key, as the German layout names it
    record = app.print_record().split(b"\r\n")
    assert b"% O2 in Nitrox:       32.5" in record
    assert b"MOD fsw 1.4 atm =    109.154" in record

    app.clear()
    app.calculate("100", "32,5")
    record = app.print_record().split(b"\r\n")
    assert b"% O2 in Nitrox:       32.0" in record
    assert b"MOD fsw 1.4 atm =    111.375" in record


def orca_speech(log):
    """What Orca said, an utterance a line, from its debug log (Orca 43 and 48), or None
    while it is not yet listening for windows. Orca 43 says a role and the figures in one
    utterance ending in a period, Orca 48 in two; joined, the words are the same."""
    text = log.read_text(errors="replace") if log.exists() else ""
    if "registering listener for: object:state-changed:showing" not in text:
        return None
    spoken = re.findall(r"SPEECH OUTPUT: '(.*?)' ?\{", text, re.S)
    return [re.sub(r"\s+", " ", s).strip().rstrip(".") for s in spoken]


def test_orca_speaks_the_eight_figures_once_after_enter(calculator, accessibility_bus, spawn,
                                                        tmp_path):
    """100, Tab, 32, Enter: Orca speaks the figures in the order Calculate wrote them, once,
    and nothing else (the focus stays in the O2 box)."""
    if not Path("/usr/bin/orca").exists():
        pytest.skip("needs Orca")
    log = tmp_path / "orca.log"
    # Orca's log written line by line, speech on and a silent synthesizer: orca_logged.py.
    spawn("orca", ["/usr/bin/python3", Path(__file__).with_name("orca_logged.py"), log,
                   tmp_path / "orca-settings", "--enable", "speech"])
    wait_for("Orca to listen", lambda: orca_speech(log) is not None)
    app = calculator()
    app.focus()
    wait_for("Orca on the depth box",
             lambda: any(s.startswith("Actual Depth fsw text") for s in orca_speech(log)))
    type_text("100")
    keys("Tab")
    type_text("32")
    keys("Return")
    wait_for("the figures",
             lambda: any(s.startswith("notification") for s in orca_speech(log)))
    time.sleep(1)  # anything spoken twice, or after, would come now
    spoken = orca_speech(log)
    after = spoken[len(spoken) - 1 - spoken[::-1].index("return"):]
    # but the echo of a digit typed before Enter, which may come late
    heard = " ".join(s for s in after if not re.fullmatch(r"[0-9]", s))
    assert heard == " ".join(["return", "notification", *CAPTIONS_100_32])


def test_windows_window_names_reports_and_exits_from_the_keyboard(calculator, request):
    """Under wine: each box named after its caption, as a screen reader asks; 100/32 printed
    to the exact record; O2 0 brings an error box and the window carries on; Exit ends it."""
    app = calculator()
    names = run("wine", str(request.config.getoption("probe")), timeout=60).replace("\r", "")
    assert re.findall("^name (.*)$", names, re.M) == ["Actual Depth fsw", "%O2 in Nitrox Mix"]
    # Wine 8 and 10 keep no descriptions or help texts; a system that does must keep these.
    for kind in ("description", "help"):
        assert re.findall(f"^{kind} (.*)$", names, re.M) in (
            ["", ""], ["Actual depth, fsw", "Percent O2 in the nitrox mix"])

    app.calculate("100", "32")
    assert app.print_record() == RECORD_100_32
    assert app.log.read_bytes() == RECORD_100_32
    assert not (app.started_in / "Nitrox.txt").exists()
    app.focus()
    keys("Tab", "Tab")  # back in the O2 box, its text selected
    type_text("0")
    keys("Return")  # Division by zero
    app.dismiss()
    app.exit()
