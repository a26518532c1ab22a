#!/usr/bin/env bash
# Uses the Windows calculator as a diver would, under wine in a real X window (Xvfb) and from
# the keyboard alone: type depth and O2, Enter, File > Print, confirm; O2 of 0 and Enter must
# bring up an error box and leave the window working; then File > Exit must end the process.
# The program sits in a folder whose name is not plain ASCII, and starts from another folder:
# the bytes of Nitrox.txt beside it must be exactly the one record.
# A screen reader must be able to name both boxes after their captions; once one has asked,
# the window gives its names and descriptions, and each Calculate that writes figures (and
# nothing else) hands them to the screen reader once, in order. What the window told the
# accessibility layer is read from its debug output (wine's debugstr channel).
# Usage: wine_window_test.sh <path to pelagrin.exe> <path to accessible_names.exe>
set -euo pipefail

program=$1
names_probe=$2
source "$(dirname "$0")/session.sh"
start_display
start_wine

folder="$work/Tauchgänge"
mkdir "$folder" "$work/elsewhere"
cp "$program" "$folder/pelagrin.exe"

# A drop-down menu is a window of the program without a title.
is_menu() { [ -z "$(xdotool getwindowname "$1" 2>/dev/null)" ]; }

cd "$work/elsewhere"   # not the program's folder: the log must still land beside it
WINEDEBUG=-all,+debugstr wine "$folder/pelagrin.exe" </dev/null >"$work/app.log" 2>&1 &
app_pid=$!
main=$(window "EAD Calculator")

# Each box is named after its caption, as the accessibility layer answers a screen reader.
# (Wine 8 takes no given texts, but names a box after the label before it, as Windows does.)
names=$(wine "$names_probe" </dev/null 2>&1 | tr -d '\r')
expected=$'Actual Depth fsw\n%O2 in Nitrox Mix'
[ "$(sed -n 's/^name //p' <<<"$names")" = "$expected" ] || fail "boxes named: $names"

# Asked, the window gave its texts to the system (IAccPropServices::SetHwndPropStr). Where
# the system took them, the probe must read the descriptions back.
traced() { sed -n 's/^.*OutputDebugStringA "Pelagrin: \(.*\)\\n"$/\1/p' "$work/app.log"; }
given=$(traced | sed -n 's/^accessibility: names and descriptions //p')
[ -n "$given" ] || fail "names and descriptions not given when asked: $(traced)"
echo "names and descriptions given: $given; the probe read: $(tr '\n' '|' <<<"$names")"
if [ "$given" = 0x00000000 ]; then
    for kind in description help; do
        [ "$(sed -n "s/^$kind //p" <<<"$names")" = $'Actual depth, fsw\nPercent O2 in the nitrox mix' ] ||
            fail "${kind}s: $names"
    done
fi

calculate_and_print 100 32

# Calculate's figures, once and in the order written; Print speaks nothing. Where the system
# has no UI Automation notifications (wine), the window says so and speaks nothing.
spoken_100_32=$(printf '%s; ' "${captions_100_32[@]}")
spoken_100_32=${spoken_100_32%; }
speech() { traced | grep -E '^(spoken 0x[0-9A-F]{8}|not spoken, [^:]*): ' || true; }
[ "$(speech | sed 's/^[^:]*: //')" = "$spoken_100_32" ] || fail "spoken: $(speech)"
echo "after Enter: $(speech)"

expect_log "$folder/Nitrox.txt" "$record_100_32"
[ ! -e "$work/elsewhere/Nitrox.txt" ] || fail "log written to the current folder"

# The focus is back in the O2 box; Tab twice returns to it with its text selected.
focus_main
keys Tab Tab
xdotool type --delay 40 "0"
keys Return         # Division by zero: reported in a box, and the window carries on
dismiss
[ "$(speech | wc -l)" -eq 1 ] || fail "spoken after a fault: $(speech)"

exit_and_expect_end
traced | grep -q '^accessibility: names and descriptions taken back ' ||
    fail "names and descriptions not taken back: $(traced)"
echo "PASS: calculated, logged, reported an error and exited from the keyboard under wine"
