#!/usr/bin/env bash
# Uses the program only from outside, as a person would: on a real X server with no
# window manager, it types names, presses Enter or clicks the button, and reads the
# result back by copying it to the clipboard.
#   window_e2e.sh PROGRAM ORACLE CLOSE_WINDOW
set -uo pipefail
export LC_ALL=C.UTF-8 # xdotool reads the names it types as UTF-8
program=$1
oracle=$2
close_window=$3

here=$(dirname "$0")
source "$here/x11_session.sh"

begin_x_session || exit 1

"$program" &
app=$!
wait_for_window "ВЕЛИНОРА" || { echo "the window never appeared" >&2; exit 1; }
xdotool windowfocus --sync "$window"

# --- the window as the X server sees it -------------------------------------------
info=$(xwininfo -id "$window")
field() { sed -n "s/^ *$1: *//p" <<<"$info"; }
check "client area is 700 x 534" same "$(field Width)x$(field Height)" "700x534"
check "window is centred on the 1280 x 1024 screen" \
    same "$(field 'Absolute upper-left X'),$(field 'Absolute upper-left Y')" "290,245"

hints=$(xprop -id "$window" WM_NORMAL_HINTS)
check "minimum size equals the size" grep -q 'minimum size: 700 by 534' <<<"$hints"
check "maximum size equals the size" grep -q 'maximum size: 700 by 534' <<<"$hints"
check "title is ВЕЛИНОРА" same "$(xprop -id "$window" _NET_WM_NAME)" '_NET_WM_NAME(UTF8_STRING) = "ВЕЛИНОРА"'
desktop_class=$(sed -n 's/^StartupWMClass=//p' "$here/../../data/org.velinora.Velinora.desktop")
check "window class matches the desktop entry" \
    same "$(xprop -id "$window" WM_CLASS)" "WM_CLASS(STRING) = \"velinora\", \"$desktop_class\""
icons=$(xprop -id "$window" _NET_WM_ICON)
check "icon holds a 16 x 16 image" grep -q 'Icon (16 x 16)' <<<"$icons"
check "icon holds a 32 x 32 image" grep -q 'Icon (32 x 32)' <<<"$icons"

check_colours 1

# --- using it --------------------------------------------------------------------
type_name() { # replaces the name box's text; the focus must be in it
    xdotool key --clearmodifiers ctrl+a BackSpace
    [ -z "$1" ] || xdotool type --delay 15 -- "$1"
}
# Tab to the result box, add a marker at its end (so that even an empty box copies
# something), copy all, and Tab on round to the name box.
read_result() {
    local sentinel="sentinel-$RANDOM$RANDOM"
    printf '%s' "$sentinel" | xclip -selection clipboard -i
    xdotool key Tab Tab ctrl+End
    xdotool type -- '#'
    xdotool key ctrl+a ctrl+c
    clipboard_changed() { [ "$(xclip -selection clipboard -o)" != "$sentinel" ]; }
    wait_for 10 clipboard_changed || { echo "the clipboard never changed" >&2; return 1; }
    result=$(xclip -selection clipboard -o)
    result=${result%#}
    xdotool key Tab
}
expected() { "$oracle" "$1"; }

type_name "Ива"
xdotool key Return
read_result
check "Enter analyses Ива" same "$result" "$(expected Ива)"
check "the result starts with the heading И" same "${result:0:2}" $'И\n'

type_name "Мария"
xdotool mousemove --window "$window" 344 76 click 1
xdotool type --delay 15 -- "на"
xdotool key Return
read_result
check "a click analyses, and typing then goes on in the name box" same "$result" "$(expected Марияна)"

type_name "ИВАН"
xdotool key Return
read_result
upper=$result
type_name "иван"
xdotool key Return
read_result
check "upper and lower case give the same result" same "$upper" "$result"
check "иван gives four entries" same "$result" "$(expected иван)"

type_name "Анна-Мария Петрова"
xdotool key Return
read_result
check "spaces and hyphens add nothing" same "$result" "$(expected аннамарияпетрова)"

type_name ""
xdotool key Return
read_result
check "an empty name empties the result box" same "$result" ""

letters=(а б в г д е ж з и й к л м н о п р с т у ф х ц ч ш щ ъ ь ю я)
headings=(А Б В Г Д Е Ж З И Й К Л М Н О П Р С Т У Ф Х Ц Ч Ш Щ Ъ Ь Ю Я)
for i in "${!letters[@]}"; do
    letter=${letters[i]}
    type_name "$letter"
    xdotool key Return
    read_result
    heading=${result%%$'\n'*}
    paragraph=${result#*$'\n'}
    check "$letter shows its heading" same "$heading" "${headings[i]}"
    check "$letter shows its paragraph" same "$result" "$(expected "$letter")"
    check "$letter's paragraph is one line" same "${paragraph//$'\n'/}" "$paragraph"
done

# Closing the window ends the program, cleanly (a sanitizer's report would fail it).
"$close_window" "$window"
exited() { ! kill -0 "$app"; }
check "closing the window ends the program" wait_for 10 exited
wait "$app"
status=$?
app=""
check "the program exits with status 0" same "$status" 0

report
