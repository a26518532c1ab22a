#!/usr/bin/env bash
# Draws the calculator's icon: the diver-down flag, a red field crossed by a white band from
# the upper-left to the lower-right corner. One rule, drawn in whole pixels at every size a
# desktop asks for, so each size is crisp rather than scaled from another. Writes, into
# ui/resources/ or the directory given as the only argument:
#   icons/pelagrin-N.png  the Linux desktop's sizes (hicolor) and the window's icons;
#   icons/pelagrin.svg    the scalable icon, the same rule drawn as a shape;
#   pelagrin.ico          the Windows program icon, every size Windows shows from 100 to 200 %.
set -euo pipefail
out=${1:-$(dirname "$0")/../ui/resources}
mkdir -p "$out/icons"

# The sizes are listed once, in ui/resources/icon-sizes.
sizes=$(dirname "$0")/../ui/resources/icon-sizes
read -r -a png_sizes <<<"$(sed -n 's/^png //p' "$sizes")"
read -r -a ico_sizes <<<"$(sed -n 's/^ico //p' "$sizes")"

# Pixels with |column - row| <= size/8 are the band: 9 pixels across a row at 32, about a
# fifth of the icon measured square to the band, like the stripe of the flag. At 45 degrees
# whole pixels give a clean staircase; smoothing would only add pinks that blur the band.
# Appends the flag at $1 pixels square, as one ImageMagick image, to the array named $2.
flag() {
    local -n into=$2
    into+=("(" -size "$1x$1" xc:'rgb(255,0,0)' -fx "abs(i-j) <= $(($1 / 8)) ? 1 : u" ")")
}

# Indexed PNGs with 8-bit indices, no time stamps or colour-management chunks, so drawing
# them again gives the same bytes.
for size in "${png_sizes[@]}"; do
    image=()
    flag "$size" image
    convert "${image[@]}" -strip \
        -define png:exclude-chunks=bKGD,cHRM,gAMA,iCCP,sRGB,tIME,tEXt,zTXt,date \
        -define png:color-type=3 -define png:bit-depth=8 \
        "png8:$out/icons/pelagrin-$size.png"
done

# The same band as a shape, 4.5 units either side of the diagonal of a 32-unit square: the
# outline of the pixels the rule takes at 32.
cat >"$out/icons/pelagrin.svg" <<'SVG'
<svg xmlns="http://www.w3.org/2000/svg" width="32" height="32" viewBox="0 0 32 32">
  <rect width="32" height="32" fill="#ff0000"/>
  <path d="M0 0H4.5L32 27.5V32H27.5L0 4.5Z" fill="#ffffff"/>
</svg>
SVG

# 256 colours, 8 bits per pixel, which every version of Windows shows; the 256-pixel image
# is stored as PNG, as Windows expects. ImageMagick stores an icon at the fewest bits its
# colour table needs, so the two colours are mapped onto the 216-colour web palette (it
# holds pure red and white exactly) to get 8 bits rather than 1.
frames=()
for size in "${ico_sizes[@]}"; do
    flag "$size" frames
done
convert "${frames[@]}" +dither -remap netscape: "ico:$out/pelagrin.ico"
