#!/usr/bin/env bash
# The portable archive made here, on another system: unpacked into ROOT, a chroot of another
# release with only the desktop basics, every file of the folder finds each library it
# needs there, and the program started in it shows its window on this machine's X server
# (Xvfb), calculates 100 and 32 from the keyboard, prints, and writes the exact record beside
# bin/pelagrin.
# Usage: other_system_test.sh ARCHIVE ROOT   (as root)
set -euo pipefail
archive=$(realpath "$1")
root=$(realpath "$2")
tests=$(realpath "$(dirname "$0")/..")
in_chroot=$tests/../scripts/in-chroot.sh

source "$tests/e2e/session.sh"
inside=$(mktemp -d "$root/tmp/pelagrin.XXXXXX")
stop_system() { rm -rf "$inside"; }
tar -xzf "$archive" -C "$inside"
folder=$(find "$inside" -mindepth 1 -maxdepth 1 -type d -name 'Pelagrin-*')
folder=${folder#"$root"}
system=$(sed -n 's/^PRETTY_NAME="\(.*\)"/\1/p' "$root/etc/os-release")

missing=$(bash "$in_chroot" "$root" bash -c '
    for file in "$1"/bin/pelagrin "$1"/lib/*.so* "$1"/plugins/*/*.so; do
        ldd "$file" | sed -n "s|^\s*\(\S*\) => not found|$file needs \1|p"
    done' - "$folder")
[ -z "$missing" ] || fail "on $system, libraries not found:"$'\n'"$missing"

start_display
is_menu() { xwininfo -id "$1" | grep -q 'Override Redirect State: yes'; }
bash "$in_chroot" "$root" "$folder/bin/pelagrin" >"$work/app.log" 2>&1 &
app_pid=$!
main=$(window "EAD Calculator")
calculate_and_print 100 32
expect_log "$root$folder/bin/Nitrox.txt" "$record_100_32"
exit_and_expect_end
echo "PASS: on $system the folder calculated 100 and 32 and printed the record"
