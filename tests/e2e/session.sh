# What both real-window tests share, sourced by each: a temporary folder ($work) removed at
# the end, a display of the test's own, waits with time limits, keys, the File menu, message
# boxes, the expected log record and the check of a clean exit. The sourcing script defines
# is_menu (whether window $1 is an open drop-down menu on its system), may define
# stop_system (what else to end when the test ends), and once the window is up sets $main
# and $app_pid. Every wait polls for up to 20 s: a sanitizer build on a loaded machine starts
# slowly.

work=$(mktemp -d)
xvfb_pid=
app_pid=
cleanup() {
    [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
    if declare -F stop_system >/dev/null; then stop_system; fi
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }

# Starts Xvfb on whatever display number is free and exports DISPLAY; sets $xvfb_pid.
# -noreset: the server would otherwise reset whenever its last client leaves (a window
# search that runs before the program has connected), and a program connecting during the
# reset dies with "could not connect to display".
start_display() {
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$work/display" 2>"$work/xvfb.log" &
    xvfb_pid=$!
    for _ in $(seq 400); do [ -s "$work/display" ] && break; sleep 0.05; done
    [ -s "$work/display" ] || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
    export DISPLAY=":$(cat "$work/display")"
}

# For the Windows program: a fresh wine of the test's own, ended with the test, and its
# server's socket folder (/tmp/.wine-UID/server-DEVICE-INODE, named after the prefix) removed
# with it. TMPDIR is not handed to wine: wine 10 aborts making a prefix while it is set. Its
# windows are left unmanaged: with no window manager to answer, wine would wait about 2 s on
# every window it closes. Mono and Gecko are not wanted.
start_wine() {
    stop_system() {
        [ -d "$work/prefix" ] || return 0
        timeout 20 wineserver -k </dev/null >/dev/null 2>&1 || true
        # shellcheck disable=SC2046  # the device and inode numbers, as two words
        rm -rf "/tmp/.wine-$(id -u)/server-$(printf '%x-%x' $(stat -c '%d %i' "$work/prefix"))"
    }
    unset TMPDIR
    export WINEPREFIX=$work/prefix WINEDEBUG=-all LANG=C.UTF-8
    WINEDLLOVERRIDES="mscoree=;mshtml=" timeout 120 wine reg add 'HKCU\Software\Wine\X11 Driver' \
        /v Managed /d N /f </dev/null >"$work/prefix.log" 2>&1 ||
        fail "wine prefix not made: $(cat "$work/prefix.log")"
}

# Waits for a visible window titled exactly $1 and prints its id.
window() {
    local id
    for _ in $(seq 400); do
        id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1) || true
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.05
    done
    fail "no window titled '$1'$([ -s "$work/app.log" ] && printf ': %s' "$(cat "$work/app.log")")"
}

# Waits until no visible window is titled exactly $1.
gone() {
    for _ in $(seq 400); do
        xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1 || return 0
        sleep 0.05
    done
    fail "the window titled '$1' did not close"
}

# Waits for an open drop-down menu of the program.
popup() {
    local id
    for _ in $(seq 400); do
        for id in $(xdotool search --onlyvisible --class pelagrin 2>/dev/null); do
            is_menu "$id" && return 0
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

# Dismisses the message box titled with the application's name with Enter.
dismiss() {
    xdotool windowfocus --sync "$(window Pelagrin)"
    keys Return
    gone Pelagrin
}

# Depth $1, Tab, O2 $2, Enter, then File > Print and its confirmation: the keyboard alone.
calculate_and_print() {
    focus_main
    xdotool type --delay 40 "$1"
    keys Tab
    xdotool type --delay 40 "$2"
    keys Return
    file_menu p
    dismiss
}

# The typical dive, kept once for every test in tests/support/dive-100-32: the record Print
# appends after depth 100, O2 32 and Enter (its bytes whole: the x keeps the last line
# endings), and the eight captions Calculate writes, in that order.
dive_100_32=$(realpath "$(dirname "${BASH_SOURCE[0]}")/../support/dive-100-32")
record_100_32=$(cat "$dive_100_32/record.txt" && printf x)
record_100_32=${record_100_32%x}
mapfile -t captions_100_32 <"$dive_100_32/captions.txt"

# The log $1 holds exactly the bytes $2.
expect_log() {
    printf '%s' "$2" >"$work/expected"
    [ -f "$1" ] || fail "no Nitrox.txt beside the program"
    cmp "$work/expected" "$1" || {
        od -c "$1" >&2
        fail "Nitrox.txt differs"
    }
}

# File > Exit ends the process at once, and cleanly.
exit_and_expect_end() {
    file_menu x
    for _ in $(seq 400); do kill -0 "$app_pid" 2>/dev/null || break; sleep 0.05; done
    if kill -0 "$app_pid" 2>/dev/null; then fail "still running after File > Exit"; fi
    wait "$app_pid" || fail "exit status $?: $(cat "$work/app.log")"
    app_pid=
}
