#!/bin/sh
# Puts Pelagrin into your desktop's menu, for you alone: the menu entry starts the program in
# this folder, and the icons come with it. Needs no root. Run it again after moving the
# folder; `install-desktop.sh --remove` takes the entry and the icons out again.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
id=org.pelagrin.Pelagrin
data=${XDG_DATA_HOME:-$HOME/.local/share}
entry=$data/applications/$id.desktop

# The icons the folder holds, as paths below share/icons.
icons() { (cd "$here/share/icons" && find . -name "$id.*" -type f | sed 's|^\./||'); }

if [ "${1:-}" = --remove ]; then
    rm -f "$entry"
    icons | while read -r icon; do rm -f "$data/icons/$icon"; done
    echo "Pelagrin is no longer in your desktop's menu."
    exit 0
fi
if [ $# -gt 0 ]; then
    echo "usage: $0 [--remove]" >&2
    exit 2
fi

# The program's path as one argument of the entry's Exec line: in double quotes, with
# \ " ` $ escaped, then every \ doubled as the entry's string rules ask, and % as %%.
program=$(printf '%s' "$here/bin/pelagrin" | sed -e 's/[\\"`$]/\\&/g' -e 's/\\/\\\\/g' -e 's/%/%%/g')

mkdir -p "$data/applications"
sed -e "s|^Exec=.*|Exec=\"$(printf '%s' "$program" | sed 's/[|&\\]/\\&/g')\"|" \
    "$here/share/applications/$id.desktop" >"$entry.new"
mv "$entry.new" "$entry"
icons | while read -r icon; do
    mkdir -p "$(dirname "$data/icons/$icon")"
    cp "$here/share/icons/$icon" "$data/icons/$icon"
done
# Menus built from a cache see the new entry and icons at once where the tools exist.
command -v update-desktop-database >/dev/null && update-desktop-database -q "$data/applications" || true
touch "$data/icons/hicolor" 2>/dev/null || true
echo "Pelagrin is in your desktop's menu; it starts $here/bin/pelagrin."
