#!/usr/bin/env bash
# The portable folder's libraries close: every library the program, its libraries and its
# plugins ask for by name is either in the folder's lib/ or one that the folder leaves to the
# system on purpose (a pattern of SYSTEM_LIBRARIES). A name that is neither would be looked
# for on the diver's system, which may not have it.
# Usage: closure_test.sh ARCHIVE SYSTEM_LIBRARIES
set -euo pipefail
source "$(dirname "$0")/system_qt.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
tar -xzf "$archive" -C "$work"
folder=$(find "$work" -mindepth 1 -maxdepth 1 -type d -name 'Pelagrin-*')

status=0 checked=0
for file in "$folder"/bin/pelagrin "$folder"/lib/*.so* "$folder"/plugins/*/*.so; do
    [ -L "$file" ] && continue
    checked=$((checked + 1))
    for name in $(readelf -d "$file" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p'); do
        [ -e "$folder/lib/$name" ] || grep -qE -f "$system_libraries" <<<"$name" || {
            echo "FAIL: ${file#"$folder/"} needs $name, neither in lib/ nor left to the system"
            status=1
        }
    done
done
[ "$status" -eq 0 ] && echo "PASS: the $checked files of the folder ask only for lib/ and the system's libraries"
exit "$status"
