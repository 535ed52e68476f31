# shellcheck shell=bash
# SPDX-FileCopyrightText: 2026 The Velinora developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by the tools that show the program on a private X server: the screenshot
# and the start-up figures.

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
    DISPLAY=":$(cat "$scratch/display")"
    export DISPLAY
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
    # shellcheck disable=SC2317 # called through wait_for
    find_window() { window=$(xdotool search --onlyvisible --name "^$1\$" | head -n 1) && [ -n "$window" ]; }
    wait_for "${2:-30}" find_window "$1"
}
