# Sourced by the scripts that drive the program on a real X server.

passed=0
failed=0
check() { # description, then a command that must succeed
    local what=$1
    shift
    if "$@"; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
        echo "FAIL: $what" >&2
        [ "$1" != same ] || printf "  got: %q\n  expected: %q\n" "${2:0:80}" "${3:0:80}" >&2
    fi
}
same() { [ "$1" == "$2" ]; }

# Prints the closing line and fails if any check did.
report() {
    echo "$passed passed, $failed failed"
    [ "$failed" -eq 0 ]
}

# Waits on a condition, never on a fixed long sleep: wait_for SECONDS COMMAND...
wait_for() {
    local deadline=$((SECONDS + $1))
    shift
    until "$@" 2>/dev/null; do
        ((SECONDS < deadline)) || return 1
        sleep 0.02
    done
}

# Starts a private Xvfb of 1280 x 1024 and points DISPLAY at it: start_x_server SCRATCH_DIR.
# Sets xvfb to its process id; the caller kills it.
start_x_server() {
    local scratch=$1
    # -noreset: without it the server resets whenever its last client leaves.
    Xvfb -displayfd 5 -screen 0 1280x1024x24 -noreset -nolisten tcp \
        5>"$scratch/display" 2>"$scratch/xvfb.log" &
    xvfb=$!
    wait_for 20 test -s "$scratch/display" || { cat "$scratch/xvfb.log" >&2; return 1; }
    export DISPLAY=":$(cat "$scratch/display")"
    unset WAYLAND_DISPLAY QT_QPA_PLATFORM
    export XDG_RUNTIME_DIR="$scratch/runtime"
    mkdir -m 700 "$XDG_RUNTIME_DIR"
    # With Cyrillic in the keymap xdotool types it directly; otherwise it remaps a
    # spare key for each letter, and a letter is now and then lost to that race.
    setxkbmap -layout us,bg
}

# Makes the scratch folder $tmp, starts the X server there, and at exit ends the
# program under test ($app, if set), the server and the folder.
begin_x_session() {
    tmp=$(mktemp -d)
    trap end_x_session EXIT
    start_x_server "$tmp"
}
end_x_session() {
    [ -n "${app:-}" ] && kill "$app" 2>/dev/null && wait "$app" 2>/dev/null
    [ -n "${xvfb:-}" ] && kill "$xvfb" 2>/dev/null
    rm -rf "$tmp"
}

# Waits for a visible window with exactly this title and sets window to its id.
wait_for_window() { # TITLE [SECONDS]
    find_window() { window=$(xdotool search --onlyvisible --name "^$1\$" | head -n 1) && [ -n "$window" ]; }
    wait_for "${2:-30}" find_window "$1"
}

# Checks, from a screenshot, the colour inside the window and each coloured control.
# Points are in the window's own pixels and are scaled to the device: check_colours SCALE
check_colours() {
    local scale=$1 info x y
    info=$(xwininfo -id "$window")
    x=$(sed -n 's/^ *Absolute upper-left X: *//p' <<<"$info")
    y=$(sed -n 's/^ *Absolute upper-left Y: *//p' <<<"$info")
    import -window root "$tmp/shot.png"
    colour_at() {
        local px py
        px=$(awk -v v="$1" -v s="$scale" -v o="$x" 'BEGIN { printf "%d", o + v * s }')
        py=$(awk -v v="$2" -v s="$scale" -v o="$y" 'BEGIN { printf "%d", o + v * s }')
        convert "$tmp/shot.png" -format "%[hex:p{$px,$py}]" info: | cut -c1-6
    }
    check "at scale $scale the window colour" same "$(colour_at 40 70)" "32B2FF"
    check "at scale $scale the name box colour" same "$(colour_at 502 40)" "11EEEE"
    check "at scale $scale the button face colour" same "$(colour_at 286 76)" "2FD0D0"
    check "at scale $scale the result box colour" same "$(colour_at 308 396)" "9DFFFF"
}
