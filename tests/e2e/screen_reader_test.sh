#!/usr/bin/env bash
# What a blind diver hears: Orca, the GNOME screen reader, runs against the built program in
# a real X window under Xvfb, on an accessibility bus of the test's own. Typed from the
# keyboard, 100, Tab, 32, Enter: Orca must speak the eight figures, in the order Calculate
# wrote them, once, and nothing else after the Enter key (the focus stays in the O2 box).
# Orca's debug log, written line by line, is where its speech is read from.
# Usage: screen_reader_test.sh <path to the pelagrin executable>
set -euo pipefail

if ! command -v orca >/dev/null || ! /usr/bin/python3 -c 'import pyatspi' 2>/dev/null; then
    echo "SKIP: needs orca and python3-pyatspi" >&2
    exit 77
fi
if [ -z "${PELAGRIN_OWN_SESSION:-}" ]; then
    # A session bus, and a process tree, of the test's own: Orca refuses to start beside
    # another Orca of the same user, and everything started here ends with the namespace.
    namespace=(unshare --pid --fork --mount-proc)
    [ "$(id -u)" -eq 0 ] || namespace=(unshare --user --map-root-user --pid --fork --mount-proc)
    exec "${namespace[@]}" env PELAGRIN_OWN_SESSION=1 dbus-run-session -- bash "$0" "$@"
fi

program=$(realpath "$1")
tests=$(realpath "$(dirname "$0")/..")
source "$tests/e2e/session.sh"
start_display
unset QT_QPA_PLATFORM QT_SCALE_FACTOR WAYLAND_DISPLAY XDG_SESSION_TYPE
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1

/usr/libexec/at-spi-bus-launcher --launch-immediately >"$work/bus.log" 2>&1 &
speech="$work/orca.log"
# Orca with speech on and a silent synthesizer: it logs every line it would speak.
/usr/bin/python3 "$tests/e2e/orca_logged.py" "$speech" "$work/orca-settings" --enable speech \
    >"$work/orca.out" 2>&1 &

# Waits until Orca's log has a line matching $1.
heard() {
    for _ in $(seq 400); do
        grep -q "$1" "$speech" 2>/dev/null && return 0
        sleep 0.05
    done
    fail "Orca never logged '$1': $(tail -n 5 "$work/orca.out" "$speech" 2>/dev/null)"
}
heard 'registering listener for: object:state-changed:showing'

"$program" >"$work/app.log" 2>&1 &
app_pid=$!
main=$(window "EAD Calculator")
focus_main
heard "SPEECH OUTPUT: 'Actual Depth fsw text"   # Orca is on the depth box

xdotool type --delay 60 100
keys Tab
xdotool type --delay 60 32
keys Return
heard "SPEECH OUTPUT: 'notification[ ']"
sleep 1   # anything spoken twice, or after, would come now

expected="return notification ${captions_100_32[*]}"
# Every utterance from the Enter key on, joined into one line, but the echo of a digit typed
# before it, which may come late. Orca 43 says the role and the figures in one utterance and
# ends it with a period, Orca 48 says them in two: the words heard are the same.
after_enter=$(/usr/bin/python3 - "$speech" <<'PY'
import re, sys
log = open(sys.argv[1]).read()
spoken = re.findall(r"SPEECH OUTPUT: '(.*?)' ?\{", log, re.S)
spoken = [re.sub(r"\s+", " ", s).strip().rstrip(".") for s in spoken]
after = spoken[len(spoken) - 1 - spoken[::-1].index("return"):]
print(" ".join(s for s in after if not re.fullmatch(r"[0-9]", s)))
PY
)
[ "$after_enter" = "$expected" ] ||
    fail "after Enter Orca said:"$'\n'"$after_enter"$'\n'"instead of:"$'\n'"$expected"
echo "PASS: after Enter Orca spoke: $expected"
