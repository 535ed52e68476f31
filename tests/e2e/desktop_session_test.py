#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 The Velinora developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""What only a real desktop sees: the program on its own X server, typed into through
the keyboard map, read back as a screen reader reads it, scaled as the desktop's own
setting scales it, and closed by a window manager's close request. Runs inside
dbus-run-session, so the accessibility bus is private.
    desktop_session_test.py PROGRAM DESKTOP_ENTRY"""
import hashlib
import os
import subprocess
import sys
import time
import warnings

import gi
gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, Gio, GLib  # noqa: E402
from Xlib import X, Xatom, display, error, protocol  # noqa: E402

PROGRAM, DESKTOP_ENTRY = sys.argv[1:3]
warnings.filterwarnings("ignore", category=DeprecationWarning)  # the calls screen readers still make
failures = []
programs = []  # killed at the end, however the test ends


def check(what, got, expected):
    if got != expected:
        failures.append(f"{what}: got {got!r}, expected {expected!r}")


def wait_for(find, seconds=20):
    deadline = time.monotonic() + seconds
    while not (found := find()) and time.monotonic() < deadline:
        time.sleep(0.05)
    return found


def start_x_server():
    read, write = os.pipe()
    server = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0", "1280x1024x24",
                               "-nolisten", "tcp", "-noreset"], pass_fds=[write], stderr=subprocess.DEVNULL)
    os.environ["DISPLAY"] = ":" + os.read(read, 16).decode().strip()
    os.environ.pop("WAYLAND_DISPLAY", None)
    # With Cyrillic in the keymap xdotool types it directly rather than remapping spare keys.
    subprocess.run(["setxkbmap", "-layout", "us,bg"], check=True)
    return server, display.Display()


def start_program(x, environment=None):
    app = subprocess.Popen([PROGRAM], env={**os.environ, **(environment or {})})
    programs.append(app)

    def window():
        for child in x.screen().root.query_tree().children:
            try:
                pid = child.get_full_property(x.intern_atom("_NET_WM_PID"), Xatom.CARDINAL)
                if pid and pid.value[0] == app.pid and child.get_attributes().map_state == X.IsViewable:
                    return child
            except error.BadWindow:  # one that closed meanwhile
                pass
    return app, wait_for(window) or sys.exit("the window never appeared")


def colour_at(x, px, py):
    pixel = x.screen().root.get_image(px, py, 1, 1, X.ZPixmap, 0xFFFFFFFF).data
    return "%02X%02X%02X" % (pixel[2], pixel[1], pixel[0])


def check_placement_and_colours(x, window, scale, size, top_left):
    geometry = window.get_geometry()
    check(f"at {scale} the window's size", (geometry.width, geometry.height), size)
    # Centred, up to the rounding of a fractional scale.
    check(f"at {scale} the window's place", [abs(a - b) <= 2 for a, b in zip((geometry.x, geometry.y), top_left)],
          [True, True])

    def colour(px, py):
        return colour_at(x, geometry.x + int(px * scale), geometry.y + int(py * scale))
    wait_for(lambda: colour(40, 70) == "32B2FF", 10)  # the first paint may come a moment after the map
    for what, (px, py), expected in [("window", (40, 70), "32B2FF"), ("name box", (502, 40), "11EEEE"),
                                     ("button", (286, 76), "2FD0D0"), ("result box", (308, 396), "9DFFFF")]:
        check(f"at {scale} the {what}'s colour", colour(px, py), expected)


def accessible_objects(node):
    yield node
    for index in range(node.get_child_count()):
        yield from accessible_objects(node.get_child_at_index(index))


def application():
    desktop = Atspi.get_desktop(0)
    return next((app for app in (desktop.get_child_at_index(i) for i in range(desktop.get_child_count()))
                 if app and app.get_name() == "Велинора"), None)


def sweep_text(accessible):
    """Every offset at every boundary answers, and with a piece of the text: a hang fails
    after the call's time limit instead of blocking."""
    text = Atspi.Text.get_text(accessible, 0, -1)
    try:
        for offset, boundary in ((o, b) for o in range(len(text) + 1) for b in Atspi.TextBoundaryType.__enum_values__.values()):
            for ask in (Atspi.Text.get_text_at_offset, Atspi.Text.get_text_before_offset,
                        Atspi.Text.get_text_after_offset):
                check(f"{accessible.get_name()}: {ask.__name__}({offset}, {boundary})",
                      ask(accessible, offset, boundary).content in text, True)
    except GLib.Error as error:
        failures.append(f"{accessible.get_name()}: no answer at offset {offset}, {boundary}: {error}")


def session(x):
    bus = Gio.bus_get_sync(Gio.BusType.SESSION)
    # What a screen reader sets when it starts; the program reads it as it starts.
    bus.call_sync("org.a11y.Bus", "/org/a11y/bus", "org.freedesktop.DBus.Properties", "Set",
                  GLib.Variant("(ssv)", ("org.a11y.Status", "ScreenReaderEnabled", GLib.Variant("b", True))),
                  None, Gio.DBusCallFlags.NONE, -1)
    Atspi.set_timeout(3000, 10000)
    # What a screen reader hears: on Qt 6.8 announcements, on Qt 6.4 a notification
    # that starts showing (what Orca 43 speaks), and whatever takes the focus.
    events = []
    listener = Atspi.EventListener.new(lambda event: events.append(
        (event.type, event.source.get_role_name(), event.source.get_name(), event.any_data, event.detail1)))
    for event in ("object:announcement", "object:state-changed:showing", "object:state-changed:focused"):
        listener.register(event)

    def heard(role):
        GLib.MainContext.default().iteration(False)
        return [data if kind == "object:announcement" else name for kind, source, name, data, on in events
                if (kind == "object:announcement" or source == role and on)]

    app, window = start_program(x)
    subprocess.run(["xdotool", "windowfocus", "--sync", str(window.id)], check=True)
    check("the title", window.get_full_property(x.intern_atom("_NET_WM_NAME"), 0).value.decode(), "ВЕЛИНОРА")
    check("the window's size hints", [getattr(window.get_wm_normal_hints(), f) for f in
                                      ("min_width", "min_height", "max_width", "max_height")], [700, 534, 700, 534])
    startup_class = next(line.split("=", 1)[1].strip() for line in open(DESKTOP_ENTRY) if line.startswith("StartupWMClass="))
    check("the window's functions and decorations",
          list(window.get_full_property(x.intern_atom("_MOTIF_WM_HINTS"), 0).value), [3, 38, 30, 0, 0])
    check("the window's class", window.get_wm_class(), ("velinora", startup_class))
    icon = window.get_full_property(x.intern_atom("_NET_WM_ICON"), Xatom.CARDINAL).value
    check("the icon's sizes", (list(icon[:2]), list(icon[258:260])), ([16, 16], [32, 32]))
    check("the icon's pixels", hashlib.sha256(bytes(icon.tobytes())).hexdigest()[:16], "5ecee25814ad9f8c")
    check_placement_and_colours(x, window, 1, (700, 534), (290, 245))

    objects = {(node.get_role_name(), node.get_name()): node for node in accessible_objects(wait_for(application) or sys.exit("not on the accessibility bus"))}
    for role, name in [("frame", "ВЕЛИНОРА"), ("text", "Име"), ("push button", "Анализирай"),
                       ("text", "Анализ на името"), ("label", "Въведете името си :"),
                       ("label", "Повторението на букви в името засилва тяхното въздействие.")]:
        check(f"a {role} named {name}", (role, name) in objects, True)
    name_box, result_box = objects[("text", "Име")], objects[("text", "Анализ на името")]
    labels = [relation.get_target(0).get_name() for relation in name_box.get_relation_set()
              if relation.get_relation_type() == Atspi.RelationType.LABELLED_BY]
    check("the name box's label", labels, ["Въведете името си :"])
    check("the focus at start", name_box.get_state_set().contains(Atspi.StateType.FOCUSED), True)

    def analyse(keys):
        events.clear()
        subprocess.run(["xdotool", "key", "--clearmodifiers", "ctrl+a", "BackSpace"], check=True)
        subprocess.run(["xdotool", "type", "--delay", "15", "--", keys], check=True)
        subprocess.run(["xdotool", "key", "Return"], check=True)

        return (wait_for(lambda: heard("notification")) or [None])[-1]

    for node in objects.values():
        if "Text" in node.get_interfaces():
            sweep_text(node)
    check("what is heard after Ива", analyse("Ива"),
          "Анализът е готов: 3 букви. Натиснете Tab два пъти, за да го прочетете.")
    lines = Atspi.Text.get_text(result_box, 0, -1).split("\n")
    check("the result's headings and empty lines", lines[::3] + lines[2::3], ["И", "В", "А", "", ""])
    check("the focus after Enter", name_box.get_state_set().contains(Atspi.StateType.FOCUSED), True)
    sweep_text(name_box)
    sweep_text(result_box)
    check("what is heard after an empty name", analyse(""), "Полето с анализа е празно.")
    check("the result after an empty name", Atspi.Text.get_text(result_box, 0, -1), "")

    # Qt's own edit menu speaks Bulgarian too.
    subprocess.run(["xdotool", "mousemove", "--window", str(window.id), "300", "40", "click", "3"], check=True)
    events.clear()
    subprocess.run(["xdotool", "key", "Down"], check=True)
    check("the edit menu's first item", (wait_for(lambda: heard("menu item")) or [None])[-1], "Отмяна\tCtrl+Z")
    subprocess.run(["xdotool", "key", "Escape"], check=True)

    window.send_event(protocol.event.ClientMessage(window=window, client_type=x.intern_atom("WM_PROTOCOLS"), data=(
        32, [x.intern_atom("WM_DELETE_WINDOW"), X.CurrentTime, 0, 0, 0])))
    x.flush()
    check("the exit status on close", app.wait(10), 0)


def main():
    server, x = start_x_server()
    try:
        session(x)
        # The desktop's own scale setting (Xft.dpi, as GNOME and KDE set it) and Qt's.
        for resources, environment, scale, size, top_left in [
                (b"Xft.dpi:\t144\n", {}, 1.5, (1050, 801), (115, 111)),
                (b"", {"QT_SCALE_FACTOR": "2"}, 2, (1400, 1068), (0, 0))]:
            x.screen().root.change_property(x.intern_atom("RESOURCE_MANAGER"), Xatom.STRING, 8, resources)
            app, window = start_program(x, environment)
            check_placement_and_colours(x, window, scale, size, top_left)
            app.kill()
    finally:
        for program in programs + [server]:
            program.kill()
    print("\n".join(failures))
    print(f"{0 if failures else 1} passed, {1 if failures else 0} failed")
    sys.exit(1 if failures else 0)


main()
