#!/usr/bin/env bash
# The Windows window under a high-contrast theme switched on while it is up, under wine in a
# real X window (Xvfb). Wine has no such theme, so the program is built with the system's
# answer replaced (HighContrastTheme.cpp): off at start, on from the next question, which
# the window puts when told the theme was switched (WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST).
# Before: the form's black with its coloured captions. After: nothing but the theme's colours
# (wine's own: black window text on a white window) and the greys of their smoothed edges.
# Usage: wine_high_contrast_test.sh <path to pelagrin_high_contrast.exe> <path to theme_switched.exe>
set -euo pipefail

program=$1
switch_theme=$2
source "$(dirname "$0")/session.sh"
start_display
start_wine

wine "$program" </dev/null >"$work/app.log" 2>&1 &
app_pid=$!
main=$(window "EAD Calculator")
focus_main
xdotool type --delay 40 100
keys Tab
xdotool type --delay 40 32
keys Return

# The client area of the window's picture (at 96 dpi, below wine's title and menu bars): a
# point of bare background, and the greatest colour saturation anywhere in it (0 for greys).
client() { import -window "$main" "$work/shot.png"; }
background() { convert "$work/shot.png" -format '%[pixel:p{10,60}]' info:; }
saturation() {
    convert "$work/shot.png" -crop 389x326+5+43 +repage -colorspace HSL -channel G -separate \
        +channel -format '%[fx:maxima]' info:
}

client
[ "$(background)" = "srgb(0,0,0)" ] || fail "background before the switch: $(background)"
[ "$(saturation)" != 0 ] || fail "no coloured caption before the switch"

wine "$switch_theme" </dev/null || fail "the theme switch was not delivered"
for _ in $(seq 40); do
    client
    [ "$(background)" = "srgb(255,255,255)" ] && break
    sleep 0.1
done
[ "$(background)" = "srgb(255,255,255)" ] || fail "background after the switch: $(background)"
[ "$(saturation)" = 0 ] || fail "a colour other than the theme's after the switch"

kill "$app_pid"
app_pid=
echo "PASS: a high-contrast theme switched on repaints the window in the theme's colours alone"
