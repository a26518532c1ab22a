#!/usr/bin/env bash
# Uses the built calculator as a diver would, in a real X window under Xvfb and from the
# keyboard alone: type depth and O2, Enter, File > Print, Clear, Print again, File > Exit.
# Then the bytes of Nitrox.txt beside the program must be exactly the two records.
# Usage: real_window_test.sh <path to the pelagrin executable>
set -euo pipefail

program=$1
work=$(mktemp -d)
xvfb_pid=
app_pid=
cleanup() {
    [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
# Every wait below polls for up to 20 s: a sanitizer build on a loaded machine starts slowly.

# A display of our own, on whatever number is free.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 400); do [ -s "$work/display" ] && break; sleep 0.05; done
[ -s "$work/display" ] || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
export DISPLAY=":$(cat "$work/display")"
unset QT_QPA_PLATFORM QT_SCALE_FACTOR

mkdir "$work/bin" "$work/elsewhere"
cp "$program" "$work/bin/pelagrin"

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

# Waits for an open popup menu: a visible override-redirect window of the program.
popup() {
    local id
    for _ in $(seq 400); do
        for id in $(xdotool search --onlyvisible --class pelagrin 2>/dev/null); do
            xwininfo -id "$id" | grep -q 'Override Redirect State: yes' && return 0
        done
        sleep 0.05
    done
    fail "the File menu did not open"
}
keys() { xdotool key --delay 40 "$@"; sleep 0.2; }

# Without a window manager nothing hands the focus back when a box closes: take it, as a
# user's click would.
focus_main() { xdotool windowfocus --sync "$main"; }

# File > item, by its access key.
file_menu() {
    focus_main
    keys alt+f
    popup
    keys "$1"
}

# Dismisses the log confirmation (a dialog titled with the application's name) with Enter.
confirm() {
    local box
    box=$(window Pelagrin)
    xdotool windowfocus --sync "$box"
    keys Return
    for _ in $(seq 400); do
        xdotool search --onlyvisible --name '^Pelagrin$' >/dev/null 2>&1 || return 0
        sleep 0.05
    done
    fail "the confirmation did not close"
}

cd "$work/elsewhere"   # not the program's directory: the log must still land beside it
"$work/bin/pelagrin" >"$work/app.log" 2>&1 &
app_pid=$!
main=$(window "EAD Calculator")
[ "$(xdotool getwindowname "$main")" = "EAD Calculator" ] || fail "caption has extra text"
xprop -id "$main" WM_NORMAL_HINTS | grep -q 'program specified minimum size: 393 by' \
    || fail "window size hints: $(xprop -id "$main" WM_NORMAL_HINTS)"
xprop -id "$main" _NET_WM_ICON | grep -q 'Icon (32 x 32)' || fail "no 32 x 32 window icon"
focus_main

xdotool type --delay 40 "100"
keys Tab
xdotool type --delay 40 "32"
keys Return
file_menu p         # Print
confirm

focus_main
keys alt+c          # Clear: boxes empty, focus back in the depth box
keys Return         # Enter in the empty depth box does nothing
file_menu p         # with the boxes empty, only the empty lines are written
confirm

record=$'\r\nActual Depth (fsw):  100.0\r\n% O2 in Nitrox:       32.0\r\n\r\n'
record+=$'EAD =                81.481\r\nMOD fsw 1.4 atm =    111.375\r\n'
record+=$'MOD fsw 1.6 atm =    132.000\r\nPP O2 atm =            1.290\r\n'
record+=$'PP N2 atm =            2.741\r\nBest Mix (1.4ATA) =   34 \r\n'
record+=$'Best Mix (1.6ATA) =   39 \r\nTotal ATA =            4.030\r\n\r\n\r\n'
printf '%s' "$record"$'\r\n\r\n\r\n' >"$work/expected"
[ -f "$work/bin/Nitrox.txt" ] || fail "no Nitrox.txt beside the program"
cmp "$work/expected" "$work/bin/Nitrox.txt" || {
    od -c "$work/bin/Nitrox.txt" >&2
    fail "Nitrox.txt differs"
}
[ ! -e "$work/elsewhere/Nitrox.txt" ] || fail "log written to the current directory"

file_menu x         # Exit: the process ends at once
for _ in $(seq 400); do kill -0 "$app_pid" 2>/dev/null || break; sleep 0.05; done
if kill -0 "$app_pid" 2>/dev/null; then fail "still running after File > Exit"; fi
wait "$app_pid" || fail "exit status $?: $(cat "$work/app.log")"
app_pid=
echo "PASS: calculated, logged, cleared and exited from the keyboard"
