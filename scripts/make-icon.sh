#!/usr/bin/env bash
# Draws the calculator's icon: the diver-down flag, a red field crossed by a white band from
# the upper-left to the lower-right corner, at 32 x 32 pixels. Writes pelagrin.png (the
# window icon and the Linux desktop icon) and pelagrin.ico (the Windows program icon) into
# ui/resources/, or into the directory given as the only argument.
set -euo pipefail
out=${1:-$(dirname "$0")/../ui/resources}
mkdir -p "$out"

size=32
# Pixels with |column - row| <= this are the band: 9 pixels across a row, about a fifth of
# the icon measured square to the band, like the stripe of the flag.
half_band=4

# Whole pixels only: at 45 degrees they give a clean staircase, and smoothing the edges
# would only add pinks that blur the band at this size.
flag=(-size "${size}x${size}" xc:'rgb(255,0,0)' -fx "abs(i-j) <= $half_band ? 1 : u")

# An indexed PNG with 8-bit indices, no time stamps or colour-management chunks, so
# regenerating gives the same bytes.
convert "${flag[@]}" -strip \
    -define png:exclude-chunks=bKGD,cHRM,gAMA,iCCP,sRGB,tIME,tEXt,zTXt,date \
    -define png:color-type=3 -define png:bit-depth=8 \
    "png8:$out/pelagrin.png"

# The Windows program icon is a 256-colour one, 8 bits per pixel, which every version of
# Windows shows. ImageMagick stores an icon at the fewest bits its colour table needs, so
# the two colours are mapped onto the 216-colour web palette (it holds pure red and white
# exactly) to get 8 bits rather than 1.
convert "${flag[@]}" +dither -remap netscape: "ico:$out/pelagrin.ico"
