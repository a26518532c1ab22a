#!/usr/bin/env bash
# The icon is the diver-down flag at 32 x 32 in 256 colours: a red field crossed by a white
# band from the upper-left to the lower-right corner. The PNG is the window icon and the
# Linux desktop icon, the ICO the Windows program icon; both must show the same picture.
# Usage: icon.sh SOURCE_DIR
set -euo pipefail
src=$1
png=$src/ui/resources/pelagrin.png
ico=$src/ui/resources/pelagrin.ico

status=0
fail() { echo "FAIL: $*"; status=1; }
byte() { od -An -tu1 -j"$2" -N1 "$1" | tr -d ' '; }
uint32() { od -An -tu4 --endian=little -j"$2" -N4 "$1" | tr -d ' '; }

# PNG header: indexed colour (colour type 3) with 8-bit indices, so at most 256 colours.
[ "$(byte "$png" 24)" = 8 ] || fail "$png: bit depth $(byte "$png" 24), not 8"
[ "$(byte "$png" 25)" = 3 ] || fail "$png: colour type $(byte "$png" 25), not 3 (palette)"

# ICO: a single image of 32 x 32 pixels at 8 bits per pixel, in the directory and in the
# bitmap header, which is the one Windows believes.
bitmap=$(uint32 "$ico" 18)
[ "$(byte "$ico" 4)" = 1 ] || fail "$ico: $(byte "$ico" 4) images, not 1"
[ "$(byte "$ico" 12)" = 8 ] || fail "$ico: directory says $(byte "$ico" 12) bits per pixel, not 8"
[ "$(byte "$ico" $((bitmap + 14)))" = 8 ] ||
    fail "$ico: bitmap has $(byte "$ico" $((bitmap + 14))) bits per pixel, not 8"

for file in "$png" "$ico"; do
    size=$(convert "$file" -format '%w x %h' info:)
    [ "$size" = "32 x 32" ] || fail "$file: $size pixels, not 32 x 32"
    # A transparent pixel would let the desktop show through the flag.
    [ "$(convert "$file" -format '%[opaque]' info:)" = true ] || fail "$file: not opaque"

    pixels=$(convert "$file" txt:-)
    while read -r x y colour why; do
        rgb=$(sed -n "s/^$x,$y: (\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1,\2,\3/p" <<<"$pixels")
        [ "$rgb" = "$colour" ] || fail "$file: pixel ($x,$y), $why, is ($rgb), not ($colour)"
    done <<'TABLE'
0  0  255,255,255 the band leaves the upper-left corner
16 16 255,255,255 the band crosses the centre
31 31 255,255,255 the band reaches the lower-right corner
31 0  255,0,0     the upper-right corner is field
0  31 255,0,0     the lower-left corner is field
24 7  255,0,0     the field above the band
7  24 255,0,0     the field below the band
TABLE
done

compare -metric AE "$png" "$ico" null: 2>/dev/null || fail "the PNG and the ICO show different pictures"

# The committed files are what scripts/make-icon.sh draws, so regenerating changes nothing.
again=$(mktemp -d)
trap 'rm -rf "$again"' EXIT
bash "$src/scripts/make-icon.sh" "$again"
for name in pelagrin.png pelagrin.ico; do
    compare -metric AE "$src/ui/resources/$name" "$again/$name" null: 2>/dev/null ||
        fail "$name differs from what scripts/make-icon.sh draws"
done

exit "$status"
