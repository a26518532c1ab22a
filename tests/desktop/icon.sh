#!/usr/bin/env bash
# The icon is the diver-down flag, a red field crossed by a white band from the upper-left to
# the lower-right corner, drawn crisply at every size a desktop asks for: the PNGs for Linux
# desktops and the window, and the ICO for Windows, whose 32 x 32 image has 256 colours.
# Every image must show the same picture, and the committed files must show exactly the
# pixels scripts/make-icon.sh draws (their bytes vary with the ImageMagick that writes them).
# Usage: icon.sh SOURCE_DIR PNG_SIZES ICO_SIZES   (the sizes as lists, from ui/resources/icon-sizes)
set -euo pipefail
src=$1
png_sizes=$2
ico_sizes=$3
resources=$src/ui/resources
ico=$resources/pelagrin.ico

status=0
fail() { echo "FAIL: $*"; status=1; }
byte() { od -An -tu1 -j"$2" -N1 "$1" | tr -d ' '; }
uint32() { od -An -tu4 --endian=little -j"$2" -N4 "$1" | tr -d ' '; }

# The flag at $2 pixels square, in image $1: opaque, two colours only (crisp, no blended
# edge), and each landmark where the rule puts it.
check_flag() {
    local image=$1 n=$2 last=$(($2 - 1)) half=$(($2 / 2)) band=$(($2 / 8))
    [ "$(convert "$image" -format '%w x %h' info:)" = "$n x $n" ] || fail "$image: not $n x $n"
    local opaque
    opaque=$(convert "$image" -format '%[opaque]' info:)
    [ "${opaque,,}" = true ] || fail "$image: not opaque"
    [ "$(convert "$image" -format '%k' info:)" = 2 ] || fail "$image: not two colours"
    local pixels
    pixels=$(convert "$image" txt:-)
    while read -r x y colour why; do
        rgb=$(sed -n "s/^$x,$y: (\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1,\2,\3/p" <<<"$pixels")
        [ "$rgb" = "$colour" ] || fail "$image ($n): pixel ($x,$y), $why, is ($rgb), not ($colour)"
    done <<TABLE
0 0 255,255,255 the band leaves the upper-left corner
$half $half 255,255,255 the band crosses the centre
$last $last 255,255,255 the band reaches the lower-right corner
$band 0 255,255,255 the band's edge on the top row
$((band + 1)) 0 255,0,0 the field beside it
$last 0 255,0,0 the upper-right corner is field
0 $last 255,0,0 the lower-left corner is field
TABLE
}

for size in $png_sizes; do
    png=$resources/icons/pelagrin-$size.png
    # Indexed colour (colour type 3) with 8-bit indices, so at most 256 colours.
    [ "$(byte "$png" 24)" = 8 ] && [ "$(byte "$png" 25)" = 3 ] || fail "$png: not 8-bit indexed"
    check_flag "$png" "$size"
done

# ICO: each size Windows draws from 100 to 200 %, the 256-pixel one stored as PNG.
sizes=$(identify -format '%w ' "$ico")
[ "$sizes" = "$ico_sizes " ] || fail "$ico: sizes $sizes, not $ico_sizes"
index=0
for size in $sizes; do
    check_flag "$ico[$index]" "$size"
    width=$(byte "$ico" $((6 + 16 * index)))
    offset=$(uint32 "$ico" $((6 + 16 * index + 12)))
    if [ "$size" = 256 ]; then
        [ "$(od -An -c -j$((offset + 1)) -N3 "$ico" | tr -d ' ')" = PNG ] || fail "$ico: 256 not PNG"
    elif [ "$size" = 32 ]; then
        # 8 bits per pixel in the directory and in the bitmap header, which Windows believes.
        [ "$width" = 32 ] && [ "$(byte "$ico" $((6 + 16 * index + 6)))" = 8 ] &&
            [ "$(byte "$ico" $((offset + 14)))" = 8 ] || fail "$ico: the 32 x 32 image is not 8-bit"
        compare -metric AE "$ico[$index]" "$resources/icons/pelagrin-32.png" null: 2>/dev/null ||
            fail "the ICO and the PNG show different pictures at 32"
    fi
    index=$((index + 1))
done

# The shape: the same flag, its band 4.5 units either side of the diagonal of 32.
grep -q 'd="M0 0H4.5L32 27.5V32H27.5L0 4.5Z" fill="#ffffff"' "$resources/icons/pelagrin.svg" ||
    fail "the scalable icon is not the flag's band"

# The committed images are what scripts/make-icon.sh draws, so drawing them again changes
# no pixel of any size; the scalable icon is its source, the same text.
again=$(mktemp -d)
trap 'rm -rf "$again"' EXIT
bash "$src/scripts/make-icon.sh" "$again"
cmp -s "$resources/icons/pelagrin.svg" "$again/icons/pelagrin.svg" ||
    fail "icons/pelagrin.svg differs from what scripts/make-icon.sh draws"
for name in $(cd "$resources" && find icons pelagrin.ico -type f ! -name '*.svg'); do
    [ "$(identify -format '%w ' "$resources/$name")" = "$(identify -format '%w ' "$again/$name")" ] ||
        { fail "$name: not the sizes scripts/make-icon.sh draws"; continue; }
    frames=$(identify "$resources/$name" | wc -l)
    for ((index = 0; index < frames; index++)); do
        compare -metric AE "$resources/$name[$index]" "$again/$name[$index]" null: 2>/dev/null ||
            fail "$name: image $index differs from what scripts/make-icon.sh draws"
    done
done

exit "$status"
