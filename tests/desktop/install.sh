#!/usr/bin/env bash
# Installs the built calculator into an empty prefix, as a package build would, and checks
# that a desktop finds what the desktop entry and the metainfo name: the program to start,
# the icon to show and the entry the software centre launches.
# Usage: install.sh CMAKE BUILD_DIR BINDIR DATADIR APPSTREAM_OPTIONS   (the last a CMake list)
set -euo pipefail
cmake=$1 build=$2 bindir=$3 datadir=$4

prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
log=$("$cmake" --install "$build" --prefix "$prefix" 2>&1) || { echo "$log"; exit 1; }

id=org.pelagrin.Pelagrin
entry=$prefix/$datadir/applications/$id.desktop
key() { sed -n "s/^$1=//p" "$entry"; }

status=0
need() { test "$1" "$prefix/$2" || { echo "FAIL: not installed: $2 ($3)"; status=1; }; }
need -f "$datadir/applications/$id.desktop" "the desktop entry"
need -f "$datadir/metainfo/$id.metainfo.xml" "the metainfo"
for size in 16x16 32x32 256x256; do
    need -f "$datadir/icons/hicolor/$size/apps/$(key Icon).png" "the icon the entry names"
done
need -f "$datadir/icons/hicolor/scalable/apps/$(key Icon).svg" "the scalable icon"
need -x "$bindir/$(key Exec | cut -d' ' -f1)" "the program the entry starts"

# The metainfo, the desktop entry and the icon checked together, as the software centre
# will see them, with the options desktop.metainfo validates with.
IFS=';' read -r -a appstream_options <<<"$5"
appstreamcli validate-tree "${appstream_options[@]}" "$prefix" || status=1

# The portable folder's install-desktop.sh, run from a folder whose name needs quoting in an
# entry: the user's menu entry is valid and starts this folder's program, the icons come
# along, and --remove takes everything out again.
portable="$prefix/Pelagrin \"1\" \$HOME 100%"
mkdir "$portable"
cp -R "$prefix/$bindir" "$prefix/$datadir" "$portable/"
cp "$(dirname "$0")/../../ui/resources/install-desktop.sh" "$portable/"
user=$(mktemp -d)
trap 'rm -rf "$prefix" "$user"' EXIT
XDG_DATA_HOME=$user "$portable/install-desktop.sh" >/dev/null
mine=$user/applications/$id.desktop
desktop-file-validate "$mine" || status=1
# Read back as a desktop does: the entry's string escapes (\\ for \), then the quoting of
# Exec, which is the shell's within double quotes, and %% for %.
exec_line=$(sed -n 's/^Exec=//p' "$mine")
exec_line=${exec_line//\\\\/\\}
eval "set -- ${exec_line//%%/%}"
started=$1
[ "$started" = "$portable/$bindir/pelagrin" ] || {
    echo "FAIL: the menu entry starts '$started' (Exec=$exec_line)"
    status=1
}
for icon in hicolor/32x32/apps/$id.png hicolor/scalable/apps/$id.svg; do
    [ -f "$user/icons/$icon" ] || { echo "FAIL: install-desktop.sh left out $icon"; status=1; }
done
XDG_DATA_HOME=$user "$portable/install-desktop.sh" --remove >/dev/null
left=$(find "$user" -type f -name "$id*")
[ -z "$left" ] || { echo "FAIL: --remove left $left"; status=1; }
exit "$status"
