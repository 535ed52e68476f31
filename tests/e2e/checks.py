# SPDX-FileCopyrightText: 2026 The Velinora developers
# SPDX-License-Identifier: GPL-3.0-or-later
# What the tests that drive the real program on an X server share: checks that go on
# after a failure, waiting on a condition, finding and closing its window.
import sys
import time

from Xlib import X, error, protocol

failures = []


def check(what, got, expected):
    if got != expected:
        failures.append(f"{what}: got {got!r}, expected {expected!r}")


def wait_for(find, seconds=20):
    deadline = time.monotonic() + seconds
    while not (found := find()) and time.monotonic() < deadline:
        time.sleep(0.05)
    return found


def shown_window(x, holds):  # the mapped top-level window whose properties hold
    def find():
        for child in x.screen().root.query_tree().children:
            try:
                if child.get_attributes().map_state == X.IsViewable and holds(child):
                    return child
            except error.BadWindow:  # one that closed meanwhile
                pass

    return wait_for(find) or sys.exit("the window never appeared")


def named(x, title):  # whether a window has this title, as the window manager reads it
    def holds(window):
        name = window.get_full_property(x.intern_atom("_NET_WM_NAME"), X.AnyPropertyType)
        return name and name.value.decode() == title

    return holds


def close(x, window):  # as a window manager closes it
    window.send_event(
        protocol.event.ClientMessage(
            window=window,
            client_type=x.intern_atom("WM_PROTOCOLS"),
            data=(32, [x.intern_atom("WM_DELETE_WINDOW"), X.CurrentTime, 0, 0, 0]),
        )
    )
    x.flush()


def report():
    print("\n".join(failures + [f"{0 if failures else 1} passed, {1 if failures else 0} failed"]))
    sys.exit(1 if failures else 0)
