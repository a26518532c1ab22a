#!/usr/bin/env bash
# The portable Linux archive runs where Qt is not installed. Unpacked into a folder of its
# own, with every Qt library of the system turned into an empty file and Qt's plugin folder
# emptied (in a private mount namespace, so only this test sees it), the program shows its
# real window under Xvfb, calculates 100 and 32 from the keyboard, prints, and writes
# Nitrox.txt beside bin/pelagrin. Every library it loaded from outside the folder must be
# one that the folder leaves to the system on purpose.
# Usage: portable_test.sh ARCHIVE SYSTEM_LIBRARIES   (the latter: name patterns, one a line)
set -euo pipefail

tests=$(realpath "$(dirname "$0")/..")
source "$tests/package/system_qt.sh"
own_namespace

source "$tests/e2e/session.sh"
echo "System Qt libraries hidden: $(hide_system_qt)"
start_display
unset QT_QPA_PLATFORM QT_SCALE_FACTOR WAYLAND_DISPLAY XDG_SESSION_TYPE QT_PLUGIN_PATH LD_LIBRARY_PATH

tar -xzf "$archive" -C "$work"
folder=$(find "$work" -mindepth 1 -maxdepth 1 -type d -name 'Pelagrin-*')
mkdir "$work/elsewhere"
is_menu() { xwininfo -id "$1" | grep -q 'Override Redirect State: yes'; }

cd "$work/elsewhere"
LD_DEBUG=libs,files LD_DEBUG_OUTPUT="$work/loader" "$folder/bin/pelagrin" >"$work/app.log" 2>&1 &
app_pid=$!
own_log="$work/loader.$app_pid"
main=$(window "EAD Calculator")
calculate_and_print 100 32
expect_log "$folder/bin/Nitrox.txt" "$record_100_32"
exit_and_expect_end

# What the loader took from outside the folder, plugins and all. Each must be left to the
# system on purpose, or be needed only by such a system library (libxcb's libXau, say).
# Only the program's own log counts: LD_DEBUG is inherited, and a child such as the
# dbus-launch that libdbus starts where there is no session bus loads its libraries, all from
# the system, into logs of its own.
outside=$(judge_loader "$own_log" "$folder" "$system_libraries")
grep -q "calling init: $folder/plugins/platforms/libqxcb.so" "$own_log" ||
    fail "the window's plugin was not the folder's own"
paths=$(bash "$tests/hardening/library_paths.sh" "$folder") || fail "$paths"

echo "PASS: the unpacked archive calculated and printed with the system's Qt hidden;" \
    "from the system it loaded only: $outside"
