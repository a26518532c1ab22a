"""Starts Orca with its debug log written line by line, where Orca would keep it buffered
until it ends, so a test can wait on what it has spoken; and with a silent synthesizer:
speech is on, but Orca finds no speech server to hand its words to (its factories are kept
from loading, even where speech-dispatcher is installed), so it logs each utterance and
makes no sound. Orca 48 logs speech only while speech is on; Orca 43 logs it either way.

Usage: orca_logged.py LOG SETTINGS_FOLDER [orca options...]
"""
import builtins
import runpy
import sys

log = sys.argv[1]
unbuffered_open = builtins.open


def line_buffered_open(file, mode="r", *args, **kwargs):
    if file == log and "w" in mode:
        return unbuffered_open(file, mode, buffering=1)
    return unbuffered_open(file, mode, *args, **kwargs)


builtins.open = line_buffered_open
for factory in ("speechdispatcherfactory", "spiel"):
    sys.modules[factory] = None
    sys.modules["orca." + factory] = None
sys.argv = ["orca", "--debug-file", log, "--user-prefs", sys.argv[2]] + sys.argv[3:]
runpy.run_path("/usr/bin/orca", run_name="__main__")
