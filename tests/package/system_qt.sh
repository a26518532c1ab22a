# What the portable folder's tests share: their arguments, hiding the system's Qt, and judging
# what the loader took from outside the folder. Sourced first, with no arguments of its own,
# so it reads the script's: ARCHIVE SYSTEM_LIBRARIES.
script_arguments=("$@")
archive=$(realpath "$1")
system_libraries=$(realpath "$2")

# Re-runs the sourcing script, with its arguments, where only it sees the mounts that hide
# the system's Qt, in a process tree of its own (everything it starts ends with it) and under
# `$@` (a command to run it under, such as dbus-run-session --). Returns where it runs so.
# A user without root maps themselves to root for it.
own_namespace() {
    [ -n "${PELAGRIN_QT_HIDDEN:-}" ] && return 0
    local namespace=(unshare --mount --pid --fork --mount-proc)
    [ "$(id -u)" -eq 0 ] || namespace+=(--map-root-user)
    exec "${namespace[@]}" env PELAGRIN_QT_HIDDEN=1 "$@" bash "$0" "${script_arguments[@]}"
}

# Turns every Qt library of the system into an empty file and empties Qt's plugin folders;
# prints how many libraries it hid.
hide_system_qt() {
    local hidden=0 library plugins
    for library in /usr/lib/*/libQt6*.so.6 /lib/*/libQt6*.so.6; do
        [ -e "$library" ] || continue
        mount --bind /dev/null "$library"
        hidden=$((hidden + 1))
    done
    for plugins in /usr/lib/*/qt6/plugins; do
        [ -d "$plugins" ] && mount -t tmpfs none "$plugins"
    done
    echo "$hidden"
}

# The loader's log $1 (LD_DEBUG=libs,files of the program's own process) for the folder $2:
# each library taken from outside the folder must match a pattern of the file $3 (left to
# the system on purpose), or be needed only by such a library. Prints their names.
judge_loader() {
    local log=$1 folder=$2 system_libraries=$3 loader outside library name wanted_by
    [ -s "$log" ] || fail "no loader log for the program's own process"
    loader=$(cat "$log")
    outside=$(sed -n 's/.*calling init: //p' <<<"$loader" | sort -u | grep -v "^$folder/" || true)
    [ -n "$outside" ] || fail "the loader's log names no library from the system"
    while read -r library; do
        name=$(basename "$library")
        grep -qE -f "$system_libraries" <<<"$name" && continue
        wanted_by=$(sed -n "s/.*file=[^ ]*$name \[0\]; *\(needed\|dynamically loaded\) by \([^ ]*\).*/\2/p" <<<"$loader")
        ! grep -q "^$folder/" <<<"$wanted_by" ||
            fail "$library was loaded from the system for $(grep "^$folder/" <<<"$wanted_by" | head -n 1)"
    done <<<"$outside"
    xargs -n1 basename <<<"$outside" | tr '\n' ' '
}
