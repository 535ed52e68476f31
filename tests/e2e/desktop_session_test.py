#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 The Velinora developers
# SPDX-License-Identifier: GPL-3.0-or-later
# What only a real desktop sees: the program on its own X server, typed into through the
# keyboard map, walked and heard as a screen reader does, scaled as the desktop's own
# setting scales it, and closed as a window manager closes it. Runs in scripts/x-session,
# so that the X server and the accessibility bus are its own.
#   desktop_session_test.py PROGRAM DESKTOP_ENTRY
import hashlib
import os
import re
import subprocess
import sys

import gi
import oracles

gi.require_version("Atspi", "2.0")
from checks import check, close, report, shown_window, wait_for  # noqa: E402
from gi.repository import Atspi, GLib  # noqa: E402
from Xlib import X, Xatom, display  # noqa: E402

PROGRAM, DESKTOP_ENTRY = sys.argv[1:3]
VERSION = os.environ["VELINORA_VERSION"]
SIZE = tuple(oracles.layout()["form"][edge] for edge in ("width", "height"))
ASKS = (Atspi.Text.get_text_at_offset, Atspi.Text.get_text_before_offset, Atspi.Text.get_text_after_offset)
programs = []  # killed at the end, however the test ends


def xdotool(*arguments):
    subprocess.run(["xdotool", *arguments], check=True)


def start_program(environment=None):
    app = subprocess.Popen([PROGRAM], env={**os.environ, **(environment or {})})
    programs.append(app)

    def its_own(window):
        pid = window.get_full_property(x.intern_atom("_NET_WM_PID"), Xatom.CARDINAL)
        return pid and pid.value[0] == app.pid

    return app, shown_window(x, its_own)


def prop(window, name, kind=X.AnyPropertyType):
    return window.get_full_property(x.intern_atom(name), kind).value


def check_placement_and_colours(window, scale, size, top_left):
    at = window.get_geometry()
    check(f"at {scale} the window's size", (at.width, at.height), size)
    # Centred, up to the rounding of a fractional scale.
    check(f"at {scale} the window's place", [abs(a - b) <= 2 for a, b in zip((at.x, at.y), top_left)], [True, True])

    def colour(px, py):
        pixel = (
            x.screen().root.get_image(at.x + int(px * scale), at.y + int(py * scale), 1, 1, X.ZPixmap, 0xFFFFFFFF).data
        )
        return "%02X%02X%02X" % (pixel[2], pixel[1], pixel[0])

    wait_for(lambda: colour(40, 70) == "32B2FF", 10)  # the first paint may come a moment after the map
    for what, (px, py), expected in [
        ("window", (40, 70), "32B2FF"),
        ("name box", (502, 40), "11EEEE"),
        ("button", (286, 76), "2FD0D0"),
        ("result box", (308, 396), "9DFFFF"),
    ]:
        check(f"at {scale} the {what}'s colour", colour(px, py), expected)


def accessible_objects(node):
    yield node
    for index in range(node.get_child_count()):
        yield from accessible_objects(node.get_child_at_index(index))


def application():
    desktop = Atspi.get_desktop(0)
    return next(
        (
            app
            for app in map(desktop.get_child_at_index, range(desktop.get_child_count()))
            if app and app.get_name() == "Велинора"
        ),
        None,
    )


def resident_kb(process):
    return next(int(line.split()[1]) for line in open(f"/proc/{process.pid}/status") if line.startswith("VmRSS:"))


# Clients may pass any offset and length; the name box takes them to the text's ends, in
# moments (a runaway fails at the call's time limit) and without memory to speak of.
def bounded_edits(app, box):
    huge, edit, text, before = 2**31 - 1, Atspi.EditableText, Atspi.Text, resident_kb(app)
    state = {
        str: lambda: text.get_text(box, 0, -1),
        int: lambda: text.get_caret_offset(box),
        tuple: lambda: (text.get_selection(box, 0).start_offset, text.get_selection(box, 0).end_offset),
    }
    edit.set_text_contents(box, "Ива")
    for call, arguments, after in [
        (edit.insert_text, (2**30, "x", 1), "Иваx"),
        (edit.insert_text, (-5, "y", 1), "yИваx"),
        (edit.insert_text, (1, "Ivan", huge), "yIvanИваx"),
        (edit.delete_text, (-huge, 1), "IvanИваx"),
        (edit.delete_text, (6, huge), "IvanИв"),
        (text.set_selection, (0, -huge, huge), (0, 6)),
        (text.set_caret_offset, (huge,), 6),
        (text.set_caret_offset, (-huge,), 0),
    ]:
        call(box, *arguments)
        check(f"after {call.__name__}{arguments}", state[type(after)](), after)
    for offset in (-huge, -3, 7, huge):
        for call, *arguments in [
            (text.add_selection, offset, -offset),
            (text.get_text, offset, -offset),
            (text.get_character_extents, offset, Atspi.CoordType.SCREEN),
            (text.get_attribute_run, offset, False),
            (text.get_text_at_offset, offset, Atspi.TextBoundaryType.WORD_START),
        ]:
            call(box, *arguments)
    check("the memory the absurd calls took, in MB, below 32", (resident_kb(app) - before) // 1024 < 32, True)


# Latin words other than option names, placeholders, the user's own input in quotes and
# the few names the program's answers use: any English sentence leaves some.
def english_words(text):
    text = re.sub(r"„[^“]*“", "", text.replace(PROGRAM, "velinora"))
    text = re.sub(r"\d+x\d+[+-]\d+[+-]\d+", "", text)  # a window geometry, typed as it stands
    return [
        word
        for word in re.findall(r"[^\s,;()]+", text)
        if re.search("[A-Za-z]", word)
        and not re.match(r"[-<\[$]", word)
        and word.rstrip(".:") not in ("velinora", "Qt", "X11")
    ]


# The command line answers in Bulgarian, with or without a display, and never needs one.
def check_command_line():
    for screen in (os.environ["DISPLAY"], None):
        environment = {name: value for name, value in os.environ.items() if name != "DISPLAY"}
        environment.update({"DISPLAY": screen} if screen else {})
        for option, status, part in [
            ("--help", 0, "-v, --version"),
            ("--help-all", 0, "--platform <"),
            ("--version", 0, f"velinora {VERSION}"),
            ("--bogus", 1, "„bogus“"),
        ]:
            run = subprocess.run([PROGRAM, option], env=environment, capture_output=True, text=True, timeout=10)
            answer = run.stdout + run.stderr
            check(
                f"{option} with display {screen}",
                (run.returncode, part in answer, english_words(answer)),
                (status, True, []),
            )
    bare = subprocess.run([PROGRAM], env=environment, capture_output=True, text=True, timeout=10)
    check(
        "started without a display",
        (bare.returncode, len(bare.stderr.splitlines()), english_words(bare.stderr)),
        (1, 1, []),
    )


def session():
    Atspi.set_timeout(3000, 10000)
    # What a screen reader hears: Qt 6.8's announcements, on Qt 6.4 a notification that
    # starts showing (what Orca 43 speaks), and whatever takes the focus.
    events = []

    # Orca 43 speaks a notification's name, then the labels inside it; it brailles only those.
    def said(source):
        parts = [source.get_child_at_index(i) for i in range(source.get_child_count())]
        return " ".join(filter(None, [source.get_name(), *(part.get_name() for part in parts)]))

    listener = Atspi.EventListener.new(
        lambda event: events.append(
            (event.type, event.source.get_role(), said(event.source), event.any_data, event.detail1)
        )
    )
    for event in ("object:announcement", "object:state-changed:showing", "object:state-changed:focused"):
        listener.register(event)

    def last_heard(role):
        def heard():
            GLib.MainContext.default().iteration(False)
            return [
                data if kind == "object:announcement" else name
                for kind, source, name, data, on in events
                if kind == "object:announcement" or source == role and on
            ]

        return (wait_for(heard) or [None])[-1]

    app, window = start_program({"QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1"})
    xdotool("windowfocus", "--sync", str(window.id))
    startup_class = next(line[15:].strip() for line in open(DESKTOP_ENTRY) if line.startswith("StartupWMClass="))
    hints = window.get_wm_normal_hints()
    check("the title", prop(window, "_NET_WM_NAME").decode(), "ВЕЛИНОРА")
    check("the size hints", (hints.min_width, hints.min_height, hints.max_width, hints.max_height), SIZE * 2)
    check(
        "the functions and decorations (no minimise, no maximise)",
        list(prop(window, "_MOTIF_WM_HINTS")),
        [3, 38, 30, 0, 0],
    )
    check("the window's class", window.get_wm_class(), ("velinora", startup_class))
    # Both images, 16 and 32 pixels, each with its size in front.
    check(
        "the icon",
        hashlib.sha256(prop(window, "_NET_WM_ICON", Xatom.CARDINAL).tobytes()).hexdigest()[:16],
        "5ecee25814ad9f8c",
    )
    check_placement_and_colours(window, 1, SIZE, (290, 245))

    objects = {
        (node.get_role(), node.get_name()): node
        for node in accessible_objects(wait_for(application) or sys.exit("not on the accessibility bus"))
    }
    role = Atspi.Role
    for kind, name in [
        (role.FRAME, "ВЕЛИНОРА"),
        (role.TEXT, "Въведете името си"),
        (role.PUSH_BUTTON, "Анализирай"),
        (role.TEXT, "Анализ на името"),
        (role.LABEL, "Въведете името си :"),
        (role.LABEL, "Повторението на букви в името засилва тяхното въздействие."),
    ]:
        check(f"a {kind.value_nick} named {name}", (kind, name) in objects, True)
    name_box, result_box = objects[(role.TEXT, "Въведете името си")], objects[(role.TEXT, "Анализ на името")]
    check(
        "the name box's label",
        [
            relation.get_target(0).get_name()
            for relation in name_box.get_relation_set()
            if relation.get_relation_type() == Atspi.RelationType.LABELLED_BY
        ],
        ["Въведете името си :"],
    )

    def analyse(name):
        events.clear()
        xdotool("key", "--clearmodifiers", "ctrl+a", "BackSpace")
        xdotool("type", "--delay", "15", "--", name)
        xdotool("key", "Return")
        return last_heard(Atspi.Role.NOTIFICATION)

    # Two words and a hyphen: the count said is of the letters alone.
    name = "Анна-Мария Петрова"
    check(
        "what is heard after a name of two words, and after it again",
        [analyse(name), analyse(name)],
        [oracles.announcement(name)] * 2,
    )
    # The boxes answer from their own text (unit-tested at every offset): at, before and
    # after, through the bus.
    check(
        "the word at, before and after the hyphen",
        [ask(name_box, 4, Atspi.TextBoundaryType.WORD_START).content for ask in ASKS],
        ["-", "Анна", "Мария"],
    )
    # In the result box a line is what the box shows on one line: a heading, the empty
    # line between two entries, or a part of a paragraph that wraps.
    shown, line = Atspi.Text.get_text(result_box, 0, -1), Atspi.TextBoundaryType.LINE_START
    heading = shown.find("\n\n") + 2
    check(
        "the lines at and before the second heading",
        [ask(result_box, heading, line).content for ask in ASKS[:2]],
        ["Н\n", "\n"],
    )
    wrapped = Atspi.Text.get_text_at_offset(result_box, 2, line)
    check("the first line of a paragraph", (wrapped.start_offset, wrapped.end_offset < shown.find("\n", 2)), (2, True))
    # Orca reads a line in the format runs it spans: one run holds the whole text, or a
    # one-letter heading is never read.
    check("the format run at a heading", Atspi.Text.get_attribute_run(result_box, heading, False)[1:], (0, len(shown)))
    # Pasting into the result box before anything was ever copied does nothing; a real
    # paste still pastes.
    shown = Atspi.Text.get_text(result_box, 0, -1)
    xdotool("key", "shift+Tab", "ctrl+v", "shift+Insert")
    check("the program after pasting nothing", (app.poll(), Atspi.Text.get_text(result_box, 0, -1)), (None, shown))
    xdotool("key", "ctrl+Home", "shift+End", "ctrl+c", "End", "ctrl+v", "Tab")
    check("the first line after pasting it onto itself", Atspi.Text.get_text(result_box, 0, 3), "АА\n")
    bounded_edits(app, name_box)
    check("what is heard after an empty name", analyse(""), oracles.announcement(""))

    # Qt's own edit menu speaks Bulgarian too.
    xdotool("mousemove", "--window", str(window.id), "300", "40", "click", "3")
    events.clear()
    xdotool("key", "Down")
    check("the edit menu's first item", last_heard(Atspi.Role.MENU_ITEM), "Отмяна\tCtrl+Z")
    xdotool("key", "Escape")

    close(x, window)
    check("the exit status on close", app.wait(10), 0)


try:
    x = display.Display()
    check_command_line()
    session()
    # The desktop's own scale setting (Xft.dpi, as GNOME and KDE set it on X11), and Qt's.
    for resources, environment, scale, top_left in [
        (b"Xft.dpi:\t144\n", {}, 1.5, (115, 111)),
        (b"", {"QT_SCALE_FACTOR": "2"}, 2, (0, 0)),
    ]:
        x.screen().root.change_property(x.intern_atom("RESOURCE_MANAGER"), Xatom.STRING, 8, resources)
        size = tuple(round(edge * scale) for edge in SIZE)
        check_placement_and_colours(start_program(environment)[1], scale, size, top_left)
finally:
    for program in programs:
        program.kill()
report()
