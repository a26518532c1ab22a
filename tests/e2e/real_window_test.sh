#!/usr/bin/env bash
# Uses the built calculator as a diver would, in a real X window under Xvfb and from the
# keyboard alone: type depth and O2, Enter, File > Print, Clear, Print again, File > Exit.
# It starts from a folder that holds a planted Qt library, which must not be loaded.
# Then the bytes of Nitrox.txt beside the program must be exactly the two records.
# Usage: real_window_test.sh <path to the pelagrin executable>
set -euo pipefail

program=$1
source "$(dirname "$0")/session.sh"
start_display
unset QT_QPA_PLATFORM QT_SCALE_FACTOR WAYLAND_DISPLAY XDG_SESSION_TYPE

mkdir "$work/bin" "$work/elsewhere"
cp "$program" "$work/bin/pelagrin"

# A drop-down menu is an override-redirect window of the program.
is_menu() { xwininfo -id "$1" | grep -q 'Override Redirect State: yes'; }

# A library planted in the folder the diver starts from is never loaded: this one would stop
# the program with "file too short".
echo garbage >"$work/elsewhere/libQt6Widgets.so.6"

cd "$work/elsewhere"   # not the program's directory: the log must still land beside it
"$work/bin/pelagrin" >"$work/app.log" 2>&1 &
app_pid=$!
main=$(window "EAD Calculator")
[ "$(xdotool getwindowname "$main")" = "EAD Calculator" ] || fail "caption has extra text"
xprop -id "$main" WM_NORMAL_HINTS | grep -q 'program specified minimum size: 393 by' \
    || fail "window size hints: $(xprop -id "$main" WM_NORMAL_HINTS)"
# grep reads all of xprop's long listing of the icons: stopping at the first match (-q) would
# end xprop with SIGPIPE, which pipefail counts as a missing icon.
xprop -id "$main" _NET_WM_ICON | grep 'Icon (32 x 32)' >/dev/null || fail "no 32 x 32 window icon"

calculate_and_print 100 32

focus_main
keys alt+c          # Clear: boxes empty, focus back in the depth box
keys Return         # Enter in the empty depth box does nothing
file_menu p         # with the boxes empty, only the empty lines are written
dismiss

expect_log "$work/bin/Nitrox.txt" "$record_100_32"$'\r\n\r\n\r\n'
[ ! -e "$work/elsewhere/Nitrox.txt" ] || fail "log written to the current directory"

exit_and_expect_end
echo "PASS: calculated, logged, cleared and exited from the keyboard"
