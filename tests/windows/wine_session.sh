#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Velinora developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Where the Windows tests run programs under Wine: a private X server and a fresh Wine
# prefix that sees none of this machine's fonts, as a Windows without DejaVu would. The
# first Windows test starts it and the last ends it (a CTest fixture), so the tests share
# one prefix and pay for one wineboot.
#   wine_session.sh start DIR         starts the server and makes the prefix, in DIR
#   wine_session.sh run DIR COMMAND   runs a command there
#   wine_session.sh stop DIR          ends both and removes DIR
set -euo pipefail
mode=${1:-}
dir=${2:-}
[ -n "$dir" ] || { echo "usage: $0 start|run|stop DIR [COMMAND...]" >&2; exit 2; }
shift 2

enter() { # the session's environment
    export DISPLAY WINEPREFIX=$dir/prefix WINEDEBUG=-all WINEDLLOVERRIDES='mscoree,mshtml='
    export FONTCONFIG_FILE=$dir/fonts.conf XDG_RUNTIME_DIR=$dir/runtime
    DISPLAY=:$(cat "$dir/display")
    unset WAYLAND_DISPLAY QT_QPA_PLATFORM
}

case "$mode" in
start)
    "$0" stop "$dir" 2>/dev/null || true
    mkdir -p "$dir"
    mkdir -m 700 "$dir/runtime"
    # Apart from the test that starts it, whose end CTest waits for with its output.
    setsid Xvfb -displayfd 5 -screen 0 1280x1024x24 -noreset -nolisten tcp \
        5>"$dir/display" </dev/null >/dev/null 2>"$dir/xvfb.log" &
    echo $! >"$dir/xvfb.pid"
    for _ in $(seq 200); do
        [ -s "$dir/display" ] && break
        sleep 0.05
    done
    [ -s "$dir/display" ] || { cat "$dir/xvfb.log" >&2; exit 1; }
    printf '<?xml version="1.0"?>\n<fontconfig></fontconfig>\n' >"$dir/fonts.conf"
    enter
    # With Cyrillic in the keymap xdotool types it directly; Wine reads it when it starts.
    setxkbmap -layout us,bg
    wineboot --init </dev/null >/dev/null 2>&1
    wineserver --wait
    ;;
run)
    enter
    exec "$@"
    ;;
stop)
    [ -d "$dir" ] || exit 0
    if [ -s "$dir/display" ]; then
        (enter && wineserver -k 2>/dev/null) || true
    fi
    [ ! -s "$dir/xvfb.pid" ] || kill "$(cat "$dir/xvfb.pid")" 2>/dev/null || true
    rm -rf "$dir"
    ;;
*)
    echo "usage: $0 start|run|stop DIR [COMMAND...]" >&2
    exit 2
    ;;
esac
