#!/usr/bin/env bash
# The portable Linux archive on a Wayland desktop, and on X11, used through the
# accessibility bus alone (as voice control or a screen reader's user would), with every Qt
# library of the system hidden as in portable_test.sh. Under weston (headless, no Xwayland)
# and with DISPLAY unset, the program opens a native Wayland window named after its desktop
# entry; the boxes are named and labelled by their captions; 100 and 32 typed into them,
# Calculate, File > Print and the box's OK write the record beside bin/pelagrin. Then:
# with both displays it still takes Wayland; with only X11 (Xvfb), X11, driven the same way,
# which appends the same record; asked for Wayland on a double-density output, it draws at
# buffer scale 2; and with no display at all it says so in one line and fails.
# Usage: wayland_test.sh ARCHIVE SYSTEM_LIBRARIES   (the latter: name patterns, one a line)
set -euo pipefail

tests=$(realpath "$(dirname "$0")/..")
source "$tests/package/system_qt.sh"
# A session bus of its own, for the accessibility bus.
own_namespace dbus-run-session --

source "$tests/e2e/session.sh"
echo "System Qt libraries hidden: $(hide_system_qt)"
unset QT_QPA_PLATFORM QT_SCALE_FACTOR QT_PLUGIN_PATH LD_LIBRARY_PATH XDG_SESSION_TYPE \
    WAYLAND_DISPLAY DISPLAY
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"

tar -xzf "$archive" -C "$work"
folder=$(find "$work" -mindepth 1 -maxdepth 1 -type d -name 'Pelagrin-*')
mkdir "$work/elsewhere"
cd "$work/elsewhere"

# No display at all: one line saying so, and a failure, not an abort.
status=0
"$folder/bin/pelagrin" >"$work/none.out" 2>"$work/none.err" || status=$?
[ "$status" -ne 0 ] && [ "$status" -lt 128 ] || fail "with no display, exit status $status"
[ "$(wc -l <"$work/none.err")" -eq 1 ] && grep -q '^no display: ' "$work/none.err" ||
    fail "with no display it said: $(cat "$work/none.err")"

# Starts weston on socket $1, at output scale $2, headless and without Xwayland.
start_weston() {
    weston --backend=headless-backend.so --use-pixman --no-config --idle-time=0 \
        --width=1024 --height=768 --scale="$2" --socket="$1" >"$work/$1.log" 2>&1 &
    for _ in $(seq 400); do [ -S "$XDG_RUNTIME_DIR/$1" ] && return 0; sleep 0.05; done
    fail "weston did not start: $(cat "$work/$1.log")"
}
/usr/libexec/at-spi-bus-launcher --launch-immediately >"$work/bus.log" 2>&1 &

# Starts the program, its Wayland traffic and messages in $work/$1.log, and sets $app_pid.
start() {
    WAYLAND_DEBUG=1 "$@" "$folder/bin/pelagrin" >"$work/$run.log" 2>&1 &
    app_pid=$!
}

# Waits until the program's log has a line matching $1.
logged() {
    for _ in $(seq 400); do
        grep -q "$1" "$work/$run.log" && return 0
        kill -0 "$app_pid" 2>/dev/null || break
        sleep 0.05
    done
    fail "$run: the program never logged '$1': $(grep -v '^\[' "$work/$run.log" | tail -n 5)"
}

stop() {
    kill "$app_pid"
    wait "$app_pid" 2>/dev/null || true
    app_pid=
}

drive() {
    /usr/bin/python3 "$tests/e2e/atspi_drive.py" "$app_pid" 100 32 >"$work/$run.drive" 2>&1 ||
        fail "$run: $(cat "$work/$run.drive")"
}

# A Wayland desktop: a native Wayland window, named after the desktop entry.
start_weston wayland-1 1
run=wayland
start env WAYLAND_DISPLAY=wayland-1 LD_DEBUG=libs,files LD_DEBUG_OUTPUT="$work/loader"
loader_log="$work/loader.$app_pid"
logged 'xdg_toplevel[@#][0-9]*\.set_app_id("org.pelagrin.Pelagrin")'
logged 'xdg_toplevel[@#][0-9]*\.set_title("EAD Calculator")'
drive
expect_log "$folder/bin/Nitrox.txt" "$record_100_32"
stop
outside=$(judge_loader "$loader_log" "$folder" "$system_libraries")
grep -q "calling init: $folder/plugins/platforms/libqwayland-generic.so" "$loader_log" ||
    fail "the Wayland plugin was not the folder's own"
grep -q "calling init: $folder/plugins/wayland-shell-integration/libxdg-shell.so" "$loader_log" ||
    fail "the xdg-shell integration was not the folder's own"
# weston draws no title bars: the window draws its own.
grep -q "calling init: $folder/plugins/wayland-decoration-client/libbradient.so" "$loader_log" ||
    fail "the window drew no title bar of the folder's own"

# Both displays, as in a Wayland session that runs Xwayland: still Wayland.
start_display
run=both
start env WAYLAND_DISPLAY=wayland-1
logged 'xdg_toplevel[@#][0-9]*\.set_app_id("org.pelagrin.Pelagrin")'
stop

# X11 alone: an X window, driven the same way.
run=x11
start env
window "EAD Calculator" >/dev/null
drive
expect_log "$folder/bin/Nitrox.txt" "$record_100_32$record_100_32"
stop
grep -q '^\[' "$work/x11.log" && fail "with only X11 it spoke Wayland"
unset DISPLAY

# Asked for Wayland by name, on an output of scale 2: drawn at twice the pixels, sharp.
start_weston wayland-2 2
run=scaled
start env WAYLAND_DISPLAY=wayland-2 QT_QPA_PLATFORM=wayland
logged 'wl_surface[@#][0-9]*\.set_buffer_scale(2)'
logged 'wl_shm_pool[@#][0-9]*\.create_buffer('
stop
# The window's size, title bar and all, and its first buffer's, in pixels: twice as wide.
geometry=$(sed -n 's/.*xdg_surface[@#][0-9]*\.set_window_geometry(0, 0, \([0-9]*\), .*/\1/p' \
    "$work/scaled.log" | head -n 1)
buffer=$(sed -n 's/.*create_buffer(new id wl_buffer[@#][0-9]*, [0-9]*, \([0-9]*\), .*/\1/p' \
    "$work/scaled.log" | head -n 1)
[ -n "$geometry" ] && [ "$buffer" = $((2 * geometry)) ] ||
    fail "at scale 2 a window $geometry wide has a buffer $buffer wide"

echo "PASS: Wayland (app id, AT-SPI names, Calculate, Print: the exact record), Wayland" \
    "first with both displays, X11 alone, buffer scale 2, and 'no display'; with the" \
    "system's Qt hidden, from the system it loaded only: $outside"
