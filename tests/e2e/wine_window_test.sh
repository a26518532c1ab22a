#!/usr/bin/env bash
# Uses the Windows calculator as a diver would, under wine in a real X window (Xvfb) and from
# the keyboard alone: type depth and O2, Enter, File > Print, confirm; O2 of 0 and Enter must
# bring up an error box and leave the window working; then File > Exit must end the process.
# The program sits in a folder whose name is not plain ASCII, and starts from another folder:
# the bytes of Nitrox.txt beside it must be exactly the one record.
# Usage: wine_window_test.sh <path to pelagrin.exe>
set -euo pipefail

program=$1
work=$(mktemp -d)
xvfb_pid=
app_pid=
cleanup() {
    [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
    # Every wine process of this run belongs to this prefix's server.
    [ -d "$work/prefix" ] && timeout 20 wineserver -k </dev/null >/dev/null 2>&1 || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
# Every wait below polls for up to 20 s.

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 400); do [ -s "$work/display" ] && break; sleep 0.05; done
[ -s "$work/display" ] || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
export DISPLAY=":$(cat "$work/display")"

# A fresh wine of our own, its server's socket folder inside $work too (wine leaves it behind
# in TMPDIR). Its windows are left unmanaged: with no window manager to answer, wine would
# wait about 2 s on every window it closes. Mono and Gecko are not wanted.
export WINEPREFIX=$work/prefix TMPDIR=$work WINEDEBUG=-all LANG=C.UTF-8
WINEDLLOVERRIDES="mscoree=;mshtml=" timeout 120 wine reg add 'HKCU\Software\Wine\X11 Driver' \
    /v Managed /d N /f </dev/null >"$work/prefix.log" 2>&1 ||
    fail "wine prefix not made: $(cat "$work/prefix.log")"

folder="$work/Tauchgänge"
mkdir "$folder" "$work/elsewhere"
cp "$program" "$folder/pelagrin.exe"

# Waits for a visible window titled exactly $1 and prints its id.
window() {
    local id
    for _ in $(seq 400); do
        id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1) || true
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.05
    done
    fail "no window titled '$1'"
}

# Waits until no visible window is titled exactly $1.
gone() {
    for _ in $(seq 400); do
        xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1 || return 0
        sleep 0.05
    done
    fail "the window titled '$1' did not close"
}

# Waits for an open drop-down menu: a visible window of the program without a title.
popup() {
    local id
    for _ in $(seq 400); do
        for id in $(xdotool search --onlyvisible --class pelagrin 2>/dev/null); do
            [ -z "$(xdotool getwindowname "$id" 2>/dev/null)" ] && return 0
        done
        sleep 0.05
    done
    fail "the File menu did not open"
}
keys() { xdotool key --delay 40 "$@"; sleep 0.2; }

# Without a window manager nothing hands the focus back when a box closes: take it, as a
# user's click would. The window puts it back in the box that had it.
focus_main() { xdotool windowfocus --sync "$main"; }

file_menu() {
    focus_main
    keys alt+f
    popup
    keys "$1"
}

# Dismisses the message box titled "Pelagrin" with Enter.
dismiss() {
    xdotool windowfocus --sync "$(window Pelagrin)"
    keys Return
    gone Pelagrin
}

cd "$work/elsewhere"   # not the program's folder: the log must still land beside it
wine "$folder/pelagrin.exe" </dev/null >"$work/app.log" 2>&1 &
app_pid=$!
main=$(window "EAD Calculator")
focus_main

xdotool type --delay 40 "100"
keys Tab
xdotool type --delay 40 "32"
keys Return
file_menu p         # Print
dismiss             # the confirmation

record=$'\r\nActual Depth (fsw):  100.0\r\n% O2 in Nitrox:       32.0\r\n\r\n'
record+=$'EAD =                81.481\r\nMOD fsw 1.4 atm =    111.375\r\n'
record+=$'MOD fsw 1.6 atm =    132.000\r\nPP O2 atm =            1.290\r\n'
record+=$'PP N2 atm =            2.741\r\nBest Mix (1.4ATA) =   34 \r\n'
record+=$'Best Mix (1.6ATA) =   39 \r\nTotal ATA =            4.030\r\n\r\n\r\n'
printf '%s' "$record" >"$work/expected"
[ -f "$folder/Nitrox.txt" ] || fail "no Nitrox.txt beside the program"
cmp "$work/expected" "$folder/Nitrox.txt" || {
    od -c "$folder/Nitrox.txt" >&2
    fail "Nitrox.txt differs"
}
[ ! -e "$work/elsewhere/Nitrox.txt" ] || fail "log written to the current folder"

# The focus is back in the O2 box; Tab twice returns to it with its text selected.
focus_main
keys Tab Tab
xdotool type --delay 40 "0"
keys Return         # Division by zero: reported in a box, and the window carries on
dismiss

file_menu x         # Exit: the process ends at once
for _ in $(seq 400); do kill -0 "$app_pid" 2>/dev/null || break; sleep 0.05; done
if kill -0 "$app_pid" 2>/dev/null; then fail "still running after File > Exit"; fi
wait "$app_pid" || fail "exit status $?: $(cat "$work/app.log")"
app_pid=
echo "PASS: calculated, logged, reported an error and exited from the keyboard under wine"
