#!/usr/bin/env bash
# Installs the built calculator into an empty prefix, as a package build would, and checks
# that a desktop finds what the desktop entry and the metainfo name: the program to start,
# the icon to show and the entry the software centre launches.
# Usage: install.sh CMAKE BUILD_DIR BINDIR DATADIR
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
need -f "$datadir/icons/hicolor/32x32/apps/$(key Icon).png" "the icon the entry names"
need -x "$bindir/$(key Exec | cut -d' ' -f1)" "the program the entry starts"

# The metainfo, the desktop entry and the icon checked together, as the software centre
# will see them.
appstreamcli validate-tree --no-net --strict "$prefix" || status=1
exit "$status"
