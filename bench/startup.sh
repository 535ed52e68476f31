#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Velinora developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Start-up time and peak memory of the program beside a bare Qt window of the same
# size, and beside that window showing one line of text, over 20 runs each on a
# private Xvfb server. Prints medians and their ratios. LAUNCHER=wine runs Windows
# programs, in the Wine prefix of the session it is run in (scripts/x-session --wine).
#   startup.sh PROGRAM BARE_WINDOW
set -euo pipefail
export LC_ALL=C.UTF-8
program=$1
bare=$2
runs=${RUNS:-20}
launcher=${LAUNCHER:-}

# In a private X session: under Wine, the one with the prefix.
[ -n "${VELINORA_X_SESSION:-}" ] || exec "$(dirname "$0")/../scripts/x-session" "$0" "$@"
# shellcheck source=../scripts/x-session
source "$(dirname "$0")/../scripts/x-session"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

now_ms() { date +%s%3N; }

# One run: milliseconds from exec to the window mapped, and the peak resident set in KiB.
measure() { # window title, then the command
    local title=$1 start pid window="" elapsed hwm
    shift
    start=$(now_ms)
    $launcher "$@" 2>/dev/null &
    pid=$!
    until window=$(xdotool search --onlyvisible --name "^$title\$" 2>/dev/null | head -n 1) && [ -n "$window" ]; do
        sleep 0.002
    done
    elapsed=$(($(now_ms) - start))
    xdotool windowfocus --sync "$window" # takes the keyboard: ready for typing
    hwm=$(awk '/^VmHWM/ { print $2 }' "/proc/$pid/status")
    kill "$pid"
    wait "$pid" 2>/dev/null || true
    echo "$elapsed $hwm"
}

if [ "$launcher" = wine ]; then
    # As on Windows, where the system is already running: one Wine server stays up, and
    # each program starts once before anything is measured.
    wineserver --persistent
    measure "ВЕЛИНОРА" "$program" >/dev/null
    measure bare "$bare" >/dev/null
fi

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

: >"$tmp/program"
: >"$tmp/bare"
: >"$tmp/text"
for ((i = 0; i < runs; ++i)); do # interleaved, so that all see the same machine
    measure "ВЕЛИНОРА" "$program" >>"$tmp/program"
    measure bare "$bare" >>"$tmp/bare"
    measure bare "$bare" --with-text >>"$tmp/text"
done

column_median() { cut -d' ' -f"$1" "$tmp/$2" | median; }
echo "start-up, median of $runs runs each"
awk -v pt="$(column_median 1 program)" -v pm="$(column_median 2 program)" \
    -v bt="$(column_median 1 bare)" -v bm="$(column_median 2 bare)" \
    -v tt="$(column_median 1 text)" -v tm="$(column_median 2 text)" 'BEGIN {
    printf "  time to window mapped: program %d ms; bare window %d ms, ratio %.2fx (goal 1.10x); with text %d ms, ratio %.2fx\n", pt, bt, pt / bt, tt, pt / tt
    printf "  peak resident memory:  program %d KiB; bare window %d KiB, ratio %.2fx (goal 1.10x); with text %d KiB, ratio %.2fx\n", pm, bm, pm / bm, tm, pm / tm
}'
