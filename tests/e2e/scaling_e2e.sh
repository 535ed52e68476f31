#!/usr/bin/env bash
# Starts the program on a real 1280 x 1024 X server at the scale factors of high-DPI
# desktops and checks, in device pixels, the window's size, its place on the screen
# and the colours inside its controls.
#   scaling_e2e.sh PROGRAM
set -uo pipefail
export LC_ALL=C.UTF-8
program=$1

here=$(dirname "$0")
source "$here/x11_session.sh"

begin_x_session || exit 1

near() { (($1 - $2 <= 2 && $2 - $1 <= 2)); } # within the rounding of a fractional scale

# scale, device width and height, expected left and top
while read -r scale width height left top; do
    QT_SCALE_FACTOR=$scale "$program" &
    app=$!
    if ! wait_for_window "ВЕЛИНОРА"; then
        failed=$((failed + 1))
        echo "FAIL: no window at scale $scale" >&2
        continue
    fi
    info=$(xwininfo -id "$window")
    field() { sed -n "s/^ *$1: *//p" <<<"$info"; }
    x=$(field 'Absolute upper-left X')
    y=$(field 'Absolute upper-left Y')
    check "at $scale the window is $width x $height device pixels" same "$(field Width)x$(field Height)" "${width}x$height"
    check "at $scale the window is placed at $left,$top" eval 'near "$x" "$left" && near "$y" "$top"'

    check_colours "$scale"

    kill "$app"
    wait "$app" 2>/dev/null
    app=""
done <<'EOF_SCALES'
1.25 875 668 202 178
1.5 1050 801 115 111
2 1400 1068 0 0
EOF_SCALES

report
